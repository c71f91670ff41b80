// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
#include "window/win32/win32_form.h"

#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "logic/commands.h"

namespace velmora::win32 {
namespace {

constexpr wchar_t kClassName[] = L"VelmoraMainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;  // resizable and maximisable
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL
constexpr int kComboListRows = 8;

// wchar_t is 16 bits on Windows, as are the program's texts.
std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

COLORREF ToColorRef(form::Rgb rgb) { return RGB(rgb.red, rgb.green, rgb.blue); }

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The window class and style of each kind of control.
struct NativeKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

NativeKind NativeKindOf(const form::ControlDesign& design)
{
    switch (design.kind) {
    case form::ControlKind::Label:
        return {L"STATIC",
                DWORD(design.alignment == form::Alignment::Center ? SS_CENTER : SS_LEFT)
                    | SS_CENTERIMAGE | SS_NOPREFIX,
                0};
    case form::ControlKind::ComboBox:
        return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case form::ControlKind::PushButton:
        return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};  // owner-drawn to show its colour
    case form::ControlKind::ListBox:
        return {L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 0};
    case form::ControlKind::TextBox:
        return {L"EDIT",
                ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL
                    | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// The tables' controls in their order of creation. The dialog manager tabs
// through the controls that take the focus in that order, so it follows the
// tab order; but each label comes just before the control it names, as
// accessibility tools name an edit field or a combo box after the label
// created just before it. Labels take no focus, so the tab order stays.
std::vector<const form::ControlDesign*> ControlsInCreationOrder()
{
    std::vector<const form::ControlDesign*> controls;
    for (const form::ControlDesign* design : form::ControlsInTabOrder()) {
        if (form::NamedControl(*design)) {
            continue;  // created with the control it names
        }
        if (const form::ControlDesign* label = form::NamingLabel(*design)) {
            controls.push_back(label);
        }
        controls.push_back(design);
    }
    return controls;
}

class MainWindow final : public FormControls {
public:
    explicit MainWindow(FormOptions options);
    ~MainWindow() override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Control(std::u16string_view name, int index) const;
    const PairBook& Book() const { return commands_.Book(); }

    // The next zoom step up (direction > 0) or down (< 0), or 100 % (0).
    void Zoom(int direction);

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnCommand(HWND control, int notification);
    LRESULT OnColourStatic(HDC dc, HWND control);
    void OnDrawButton(const DRAWITEMSTRUCT& item);
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnSize(UINT type);
    void OnMinMaxInfo(MINMAXINFO& info) const;
    void OnWheel(int delta);
    void OnActivate(bool active);
    void OnSetFocus();
    void OnNextControl(WPARAM control, LPARAM given);

    void NameForScreenReaders();
    void ForgetNames();
    HFONT FormFont(int height);
    void Layout();
    void ResizeHoldingZoom(int left, int top, int width, int height);
    const form::ControlDesign* DesignOf(HWND control) const;
    // Twips to pixels at the screen's dots per inch and a zoom factor.
    int Pixels(int twips, double zoom) const
    {
        return form::ZoomedPixels(twips, static_cast<int>(dpi_), zoom);
    }
    int Pixels(int twips) const { return Pixels(twips, zoom_); }
    SIZE ClientSize() const;

    // FormControls: the commands reach the controls through these.
    std::u16string ComboText() const override;
    void SetComboText(std::u16string_view text) override;
    void SelectComboText() override;
    void AddComboItem(std::u16string_view text) override;
    void ClearComboItems() override;
    void AddListItem(std::u16string_view text) override;
    void SetListItems(const std::vector<std::u16string>& texts) override;
    void SetReportText(std::u16string_view text) override;
    void ReportError(const ErrorReport& report) override;

    FormOptions options_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    double zoom_ = 1;           // the form's zoom factor, on top of the screen's scale
    bool holdingZoom_ = false;  // the window resized for a zoom: its size follows the zoom
    SIZE laidOut_{};            // the client area the form was last laid out in
    SIZE normalClient_{};       // the same, and the zoom, when last neither maximised nor minimised
    double normalZoom_ = 1;
    int wheel_ = 0;             // Ctrl+wheel turned, short of a notch
    HFONT font_ = nullptr;
    std::wstring fontFace_;     // the family, or its substitute where the family is missing
    std::vector<std::pair<const form::ControlDesign*, HWND>> controls_;
    std::vector<std::pair<form::Rgb, HBRUSH>> brushes_;
    HWND combo_ = nullptr;
    HWND comboEdit_ = nullptr;  // the combo box's edit field
    HWND list_ = nullptr;
    HWND report_ = nullptr;
    HWND focusBeforeDeactivation_ = nullptr;
    bool comStarted_ = false;
    IAccPropServices* names_ = nullptr;  // the names given to controls no label names
    std::vector<HWND> named_;
    Commands commands_;

};

MainWindow::MainWindow(FormOptions options)
    : options_(std::move(options)), commands_(*this)
{
    for (const form::ControlDesign& design : form::Controls()) {
        if (design.background) {
            brushes_.emplace_back(*design.background, CreateSolidBrush(ToColorRef(*design.background)));
        }
    }
}

MainWindow::~MainWindow()
{
    for (const auto& [rgb, brush] : brushes_) {
        DeleteObject(brush);
    }
    if (font_) {
        DeleteObject(font_);
    }
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_COMMAND:
        OnCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM:
        OnDrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam));
        return 0;
    case WM_GETMINMAXINFO:
        OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) {
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_SETFOCUS:
        OnSetFocus();
        return 0;
    case WM_NEXTDLGCTL:
        OnNextControl(wParam, lParam);
        return 0;
    case WM_DESTROY:
        ForgetNames();
        if (options_.endsProgramOnClose) {
            PostQuitMessage(0);
        }
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void MainWindow::OnCreate()
{
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
    int id = kFirstControlId;
    for (const form::ControlDesign* design : ControlsInCreationOrder()) {
        const NativeKind native = NativeKindOf(*design);
        const DWORD style = WS_CHILD | native.style | (design->visible ? WS_VISIBLE : 0);
        HWND control = CreateWindowExW(native.exStyle, native.className, Wide(design->text).c_str(),
                                       style, 0, 0, 0, 0, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                                       instance, nullptr);
        controls_.emplace_back(design, control);
    }
    combo_ = Control(u"Combo1", form::kNoIndex);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    GetComboBoxInfo(combo_, &combo);
    comboEdit_ = combo.hwndItem;
    list_ = Control(u"List1", form::kNoIndex);
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);  // never shown, so never drawn
    report_ = Control(u"Text1", 0);
    SendMessageW(report_, EM_SETLIMITTEXT, 0, 0);  // no limit to the report's length
    dpi_ = GetDpiForWindow(window_);
    Layout();
    NameForScreenReaders();
    focusBeforeDeactivation_ = comboEdit_;  // where the first number is typed
}

// Screen readers name a control after its caption, or after the label
// created just before it. The others, the report box among them, get the
// tables' accessible name through MSAA's dynamic annotation. Without COM's
// annotation service they stay unnamed, as they would be anyway.
void MainWindow::NameForScreenReaders()
{
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&names_)))) {
        names_ = nullptr;
        return;
    }
    for (const auto& [design, control] : controls_) {
        if (form::NeedsOwnName(*design)
            && SUCCEEDED(names_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, PROPID_ACC_NAME,
                                                Wide(design->accessibleName).c_str()))) {
            named_.push_back(control);
        }
    }
}

void MainWindow::ForgetNames()
{
    if (names_) {
        for (HWND control : named_) {
            names_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                   &PROPID_ACC_NAME, 1);
        }
        named_.clear();
        names_->Release();
        names_ = nullptr;
    }
    if (comStarted_) {
        CoUninitialize();
        comStarted_ = false;
    }
}

// The form's font at a height in pixels: the font in use where it is of
// that height already.
HFONT MainWindow::FormFont(int height)
{
    LOGFONTW logFont{};
    if (font_ && GetObjectW(font_, sizeof logFont, &logFont) && logFont.lfHeight == -height) {
        return font_;
    }
    const form::FontDesign& design = form::MainWindow().font;
    logFont = {};
    logFont.lfHeight = -height;
    logFont.lfWeight = design.weight;
    logFont.lfItalic = design.italic;
    logFont.lfUnderline = design.underline;
    logFont.lfStrikeOut = design.strikeOut;
    logFont.lfCharSet = static_cast<BYTE>(design.charSet);
    logFont.lfQuality = CLEARTYPE_QUALITY;
    logFont.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
    const auto create = [&logFont](const std::wstring& face) {
        std::fill(std::begin(logFont.lfFaceName), std::end(logFont.lfFaceName), L'\0');
        face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
        return CreateFontIndirectW(&logFont);
    };
    if (!fontFace_.empty()) {
        return create(fontFace_);
    }
    // Where the family is missing, its metric-compatible substitute.
    fontFace_ = Wide(design.family);
    HFONT font = create(fontFace_);
    if (HDC dc = GetDC(window_)) {
        HGDIOBJ previous = SelectObject(dc, font);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, previous);
        ReleaseDC(window_, dc);
        if (fontFace_ != face) {
            DeleteObject(font);
            fontFace_ = Wide(design.substitute);
            font = create(fontFace_);
        }
    }
    return font;
}

SIZE MainWindow::ClientSize() const
{
    RECT client{};
    GetClientRect(window_, &client);
    return {client.right, client.bottom};
}

// Places, sizes and the font at the screen's dots per inch and the zoom
// factor, the form centred in the client area; where the form at that
// factor is larger than the client area, it fits it. The controls all move
// at once while the window draws nothing; then it is drawn once.
void MainWindow::Layout()
{
    const form::WindowDesign& window = form::MainWindow();
    const SIZE client = ClientSize();
    if (Pixels(window.clientWidth) > client.cx || Pixels(window.clientHeight) > client.cy) {
        zoom_ = form::FitZoom(client.cx, client.cy, static_cast<int>(dpi_));
    }
    laidOut_ = client;
    if (!IsZoomed(window_) && !IsIconic(window_)) {
        normalClient_ = client;
        normalZoom_ = zoom_;
    }
    const int left = std::max(0, static_cast<int>(client.cx) - Pixels(window.clientWidth)) / 2;
    const int top = std::max(0, static_cast<int>(client.cy) - Pixels(window.clientHeight)) / 2;
    // Not before the window is first shown: drawing allowed again would show it.
    const bool shown = IsWindowVisible(window_) != FALSE;
    if (shown) {
        SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    HFONT font = FormFont(static_cast<int>(std::lround(window.font.points * dpi_ * zoom_ / 72)));
    HDWP positions = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const auto& [design, control] : controls_) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        int height = Pixels(design->height);
        if (design->kind == form::ControlKind::ComboBox) {
            // The height given to a drop-down combo box includes its list;
            // the edit field takes the tables' height, the list as many
            // times that, at every zoom.
            SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         height - 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi_) - 2);
            height *= kComboListRows;
        }
        const int x = left + Pixels(design->left), y = top + Pixels(design->top);
        constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions) {
            positions = DeferWindowPos(positions, control, nullptr, x, y, Pixels(design->width),
                                       height, flags);
        } else {
            SetWindowPos(control, nullptr, x, y, Pixels(design->width), height, flags);
        }
    }
    if (positions) {
        EndDeferWindowPos(positions);
    }
    if (font != font_) {  // the controls hold the new font now
        if (font_) {
            DeleteObject(font_);
        }
        font_ = font;
    }
    if (shown) {
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
}

// The window resized for a zoom or for another screen: the form keeps its
// zoom where the new client area holds it.
void MainWindow::ResizeHoldingZoom(int left, int top, int width, int height)
{
    holdingZoom_ = true;
    SetWindowPos(window_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    holdingZoom_ = false;
    Layout();
}

void MainWindow::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    dpi_ = dpi;
    ResizeHoldingZoom(suggested.left, suggested.top, suggested.right - suggested.left,
                      suggested.bottom - suggested.top);
}

// Resized by its edge, maximised or restored: the form fits the window. A
// window restored to its former normal size takes its former zoom again;
// one back from the taskbar is as it was.
void MainWindow::OnSize(UINT type)
{
    if (type == SIZE_MINIMIZED || holdingZoom_ || controls_.empty()) {
        return;
    }
    const SIZE client = ClientSize();
    const auto same = [](SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; };
    if (same(client, laidOut_)) {
        return;
    }
    zoom_ = type == SIZE_RESTORED && same(client, normalClient_)
                ? normalZoom_
                : form::FitZoom(client.cx, client.cy, static_cast<int>(dpi_));
    Layout();
}

// Never smaller than the form at 100 %, at the window's own dots per inch.
void MainWindow::OnMinMaxInfo(MINMAXINFO& info) const
{
    const UINT dpi = GetDpiForWindow(window_);
    const form::WindowDesign& design = form::MainWindow();
    RECT frame{0, 0, form::TwipsToPixels(design.clientWidth, static_cast<int>(dpi)),
               form::TwipsToPixels(design.clientHeight, static_cast<int>(dpi))};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
    info.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
}

// A normal window takes the form's size at the new factor, keeping its
// top-left corner, within the screen's available area; where the form at
// that factor is larger, the window is as large as the area allows and the
// form fits it. A maximised window keeps its size, and the form is never
// larger than it.
void MainWindow::Zoom(int direction)
{
    if (IsIconic(window_)) {
        return;
    }
    const double zoom = direction == 0 ? 1.0 : form::NextZoomStep(zoom_, direction);
    if (SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0)) {
        SendMessageW(combo_, CB_SHOWDROPDOWN, FALSE, 0);  // it would hang where the field was
    }
    const form::WindowDesign& design = form::MainWindow();
    if (IsZoomed(window_)) {
        const SIZE client = ClientSize();
        zoom_ = std::min(zoom, form::FitZoom(client.cx, client.cy, static_cast<int>(dpi_)));
        Layout();
        return;
    }
    RECT frame{0, 0, Pixels(design.clientWidth, zoom), Pixels(design.clientHeight, zoom)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi_);
    RECT now{};
    GetWindowRect(window_, &now);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = std::min(frame.right - frame.left, area.right - area.left);
    const int height = std::min(frame.bottom - frame.top, area.bottom - area.top);
    zoom_ = zoom;
    ResizeHoldingZoom(std::max(area.left, std::min(now.left, area.right - width)),
                      std::max(area.top, std::min(now.top, area.bottom - height)), width, height);
}

void MainWindow::OnWheel(int delta)
{
    wheel_ += delta;
    while (wheel_ >= WHEEL_DELTA || wheel_ <= -WHEEL_DELTA) {
        const int direction = wheel_ > 0 ? 1 : -1;  // away from the user: larger
        wheel_ -= direction * WHEEL_DELTA;
        Zoom(direction);
    }
}

// The one dispatcher of the Command1 buttons: the clicked button's index.
void MainWindow::OnCommand(HWND control, int notification)
{
    const form::ControlDesign* design = DesignOf(control);
    if (design && design->name == u"Command1" && notification == BN_CLICKED) {
        commands_.Command1Click(design->index);
    }
}

LRESULT MainWindow::OnColourStatic(HDC dc, HWND control)
{
    const form::ControlDesign* design = DesignOf(control);
    if (design && design->background) {
        SetBkColor(dc, ToColorRef(*design->background));
        SetTextColor(dc, RGB(0, 0, 0));  // dark on the light, fixed background
        const auto found = std::find_if(brushes_.begin(), brushes_.end(),
                                        [&](const auto& b) { return b.first == *design->background; });
        return reinterpret_cast<LRESULT>(found->second);
    }
    // A read-only text box looks like any other text box.
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void MainWindow::OnDrawButton(const DRAWITEMSTRUCT& item)
{
    const form::ControlDesign* design = DesignOf(item.hwndItem);
    if (!design || !design->background) {
        return;
    }
    // The focus rectangle is drawn inverting, so drawing it again takes it
    // away: a button that gains or loses the focus only has it toggled.
    RECT focusRect = item.rcItem;
    const int inset = Pixels(45);  // 3 pixels at 96 dpi and 100 %
    InflateRect(&focusRect, -inset, -inset);
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &focusRect);
        return;
    }
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const auto found = std::find_if(brushes_.begin(), brushes_.end(),
                                    [&](const auto& b) { return b.first == *design->background; });
    FillRect(item.hDC, &rect, found->second);
    DrawEdge(item.hDC, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    RECT textRect = rect;
    if (pressed) {
        OffsetRect(&textRect, 1, 1);
    }
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT)
                                                           : RGB(0, 0, 0));
    const std::wstring caption = Wide(design->text);
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        DrawFocusRect(item.hDC, &focusRect);
    }
}

// The focus returns to where it was when the window is activated again.
void MainWindow::OnActivate(bool active)
{
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) {
            focusBeforeDeactivation_ = focus;
        }
    }
}

void MainWindow::OnSetFocus()
{
    if (focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_)) {
        SetFocus(focusBeforeDeactivation_);
    }
}

// Tab and Shift+Tab in the report box: a multi-line edit box takes those
// keys itself and asks its parent, as it would ask a dialog box, to move the
// focus on. The dialog manager's way: the next control in tab order (or the
// one given), its text selected when it is an edit field.
void MainWindow::OnNextControl(WPARAM control, LPARAM given)
{
    HWND next = LOWORD(given) ? reinterpret_cast<HWND>(control)
                              : GetNextDlgTabItem(window_, GetFocus(), control != 0);
    if (!next) {
        return;
    }
    if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageW(next, EM_SETSEL, 0, -1);
    }
    SetFocus(next);
}

HWND MainWindow::Control(std::u16string_view name, int index) const
{
    for (const auto& [design, control] : controls_) {
        if (design->name == name && design->index == index) {
            return control;
        }
    }
    return nullptr;
}

const form::ControlDesign* MainWindow::DesignOf(HWND control) const
{
    for (const auto& [design, handle] : controls_) {
        if (handle == control) {
            return design;
        }
    }
    return nullptr;
}

std::u16string MainWindow::ComboText() const { return Utf16(WindowText(combo_)); }

// Only a text that changes is set: setting one redraws the edit field.
void MainWindow::SetComboText(std::u16string_view text)
{
    const int length = GetWindowTextLengthW(comboEdit_);
    if (length == static_cast<int>(text.size()) && (length == 0 || ComboText() == text)) {
        return;
    }
    SetWindowTextW(combo_, Wide(text).c_str());
}

void MainWindow::SelectComboText()
{
    // The edit field itself takes the focus: given to the combo box, the
    // focus would pass through it to its edit field, two moves instead of one.
    SetFocus(comboEdit_);
    SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void MainWindow::AddComboItem(std::u16string_view text)
{
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void MainWindow::ClearComboItems() { SendMessageW(combo_, CB_RESETCONTENT, 0, 0); }

void MainWindow::AddListItem(std::u16string_view text)
{
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void MainWindow::SetListItems(const std::vector<std::u16string>& texts)
{
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    std::size_t characters = 0;
    for (const std::u16string& text : texts) {
        characters += text.size() + 1;
    }
    SendMessageW(list_, LB_INITSTORAGE, texts.size(), characters * sizeof(wchar_t));
    // The texts' own 16-bit characters, ended by a null: no copy of each.
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    for (const std::u16string& text : texts) {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void MainWindow::SetReportText(std::u16string_view text)
{
    if (text.empty() && GetWindowTextLengthW(report_) == 0) {
        return;  // already empty: nothing to redraw
    }
    SetWindowTextW(report_, Wide(text).c_str());
}

void MainWindow::ReportError(const ErrorReport& report)
{
    if (options_.errorDisplay) {
        options_.errorDisplay(window_, report);
        return;
    }
    MessageBoxW(window_, Wide(report.text).c_str(), Wide(report.title).c_str(),
                MB_OK | MB_ICONWARNING);
}

bool RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, kClassName, &windowClass)) {
        return true;
    }
    windowClass.lpfnWndProc = MainWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = CreateSolidBrush(ToColorRef(form::MainWindow().background));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
}

MainWindow* FormOf(HWND mainWindow)
{
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(mainWindow, GWLP_USERDATA));
}

// The zoom a key asks for with Ctrl: the next step up (1) or down (-1), or
// 100 % (0); none for other keys.
std::optional<int> ZoomKey(WPARAM key)
{
    switch (key) {
    case VK_OEM_PLUS:  // + and =
    case VK_ADD:
        return 1;
    case VK_OEM_MINUS:
    case VK_SUBTRACT:
        return -1;
    case '0':
    case VK_NUMPAD0:
        return 0;
    default:
        return std::nullopt;
    }
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance, FormOptions options)
{
    if (!RegisterWindowClass(instance)) {
        return nullptr;
    }
    const form::WindowDesign& design = form::MainWindow();
    auto form = std::make_unique<MainWindow>(std::move(options));
    HWND window = CreateWindowExW(kWindowExStyle, kClassName, Wide(design.title).c_str(),
                                  kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                  nullptr, instance, form.get());
    if (!window) {
        return nullptr;  // the window was never made, so the form is still ours to free
    }
    form.release();  // the window owns it now, up to WM_NCDESTROY

    // The client area the tables ask for, at the screen's dots per inch.
    const UINT dpi = GetDpiForWindow(window);
    RECT frame{0, 0, form::TwipsToPixels(design.clientWidth, static_cast<int>(dpi)),
               form::TwipsToPixels(design.clientHeight, static_cast<int>(dpi))};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

HWND FindControl(HWND mainWindow, std::u16string_view name, int index)
{
    return FormOf(mainWindow)->Control(name, index);
}

const PairBook& BookOf(HWND mainWindow) { return FormOf(mainWindow)->Book(); }

bool PreTranslate(HWND mainWindow, MSG& message)
{
    // Zoom keys and Ctrl+wheel, whichever control has the focus or the mouse;
    // not with Alt, as AltGr (Ctrl+Alt) types characters.
    const bool ours = message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd);
    if (ours && message.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0
        && GetKeyState(VK_MENU) >= 0) {
        if (const std::optional<int> direction = ZoomKey(message.wParam)) {
            FormOf(mainWindow)->Zoom(*direction);
            return true;
        }
    }
    if (ours && message.message == WM_MOUSEWHEEL
        && (GET_KEYSTATE_WPARAM(message.wParam) & MK_CONTROL)) {
        SendMessageW(mainWindow, WM_MOUSEWHEEL, message.wParam, message.lParam);
        return true;
    }
    // Ctrl+A arrives as the character 1: select the whole text of an edit field.
    if (message.message == WM_CHAR && message.wParam == 1 && IsChild(mainWindow, message.hwnd)) {
        wchar_t className[16] = {};
        GetClassNameW(message.hwnd, className, 16);
        if (lstrcmpiW(className, L"Edit") == 0) {
            SendMessageW(message.hwnd, EM_SETSEL, 0, -1);
            return true;
        }
    }
    // Tab order; Enter and Esc become IDOK and IDCANCEL, which no control has.
    return IsDialogMessageW(mainWindow, &message) != FALSE;
}

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslate(mainWindow, message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace velmora::win32
