// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Windows edition's real window, driven through its controls with window
// messages, as a user's clicks and keys would drive it, and read and pressed
// through MSAA, as a screen reader does. Prints one line per failed check and
// closes with "N passed, N failed".
#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "logic/commands.h"
#include "logic/pair_book.h"
#include "runtime/error_report.h"
#include "tests/scenarios.h"
#include "window/program_info.h"
#include "window/win32/win32_form.h"

using namespace velmora;
using velmora::win32::FindControl;

namespace {

int passed = 0;
int failed = 0;

std::string Narrow(const std::wstring& text)
{
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(
                         CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                         nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                        static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}


void Report(const char* what, bool ok, const std::string& detail)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s: %s\n", what, detail.c_str());
    }
}

void Check(const char* what, const std::wstring& actual, const std::wstring& expected)
{
    Report(what, actual == expected, "got \"" + Narrow(actual) + "\", expected \"" + Narrow(expected) + "\"");
}

void Check(const char* what, const std::vector<std::wstring>& actual,
           const std::vector<std::wstring>& expected)
{
    auto join = [](const std::vector<std::wstring>& texts) {
        std::wstring joined;
        for (const auto& text : texts) {
            joined += (joined.empty() ? L"" : L", ") + text;
        }
        return joined;
    };
    Check(what, join(actual), join(expected));
}

void Check(const char* what, long actual, long expected)
{
    Report(what, actual == expected,
           "got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

// One main window for each case, with its error reports caught.
struct Fixture {
    HWND window = nullptr;
    std::vector<std::u16string> reports;

    Fixture()
    {
        win32::FormOptions options;
        options.endsProgramOnClose = false;
        options.errorDisplay = [this](HWND, const ErrorReport& report) {
            reports.emplace_back(report.text);
        };
        window = win32::CreateMainWindow(GetModuleHandleW(nullptr), options);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        Pump();
    }
    ~Fixture()
    {
        DestroyWindow(window);
        Pump();
    }

    void Pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!win32::PreTranslate(window, message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    HWND Combo() const { return FindControl(window, u"Combo1"); }
    HWND ComboEdit() const
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(Combo(), &info);
        return info.hwndItem;
    }
    HWND ReportBox() const { return FindControl(window, u"Text1", 0); }
    HWND Button(int index) const { return FindControl(window, u"Command1", index); }

    void Type(const wchar_t* text) { SetWindowTextW(Combo(), text); }
    void Click(int index)
    {
        SendMessageW(Button(index), BM_CLICK, 0, 0);
        Pump();
    }
    // Alt+Down in the number field opens its list.
    void Open()
    {
        SetFocus(ComboEdit());
        PostMessageW(ComboEdit(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
        PostMessageW(ComboEdit(), WM_SYSKEYUP, VK_DOWN, 0xE0000001);
        Pump();
    }
    void Enter(const wchar_t* text)
    {
        Type(text);
        Click(0);
    }

    static std::wstring Text(HWND control)
    {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    std::wstring ComboText() const { return Text(Combo()); }
    std::wstring ReportText() const { return Text(ReportBox()); }

    // The items of a combo box or a list box, through its own messages.
    static std::vector<std::wstring> Items(HWND control, UINT count, UINT length, UINT text)
    {
        std::vector<std::wstring> items;
        const LRESULT n = SendMessageW(control, count, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            std::wstring item(static_cast<std::size_t>(SendMessageW(control, length, i, 0)) + 1, L'\0');
            item.resize(static_cast<std::size_t>(
                SendMessageW(control, text, i, reinterpret_cast<LPARAM>(item.data()))));
            items.push_back(item);
        }
        return items;
    }
    std::vector<std::wstring> Entries() const
    {
        return Items(Combo(), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
    }
    std::vector<std::wstring> Complements() const
    {
        return Items(FindControl(window, u"List1"), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
    }
    RECT ClientRectOf(HWND control) const
    {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
};

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::wstring Joined(const std::vector<std::wstring>& items)
{
    std::wstring joined;
    for (const std::wstring& item : items) {
        joined += (joined.empty() ? L"" : L" ") + item;
    }
    return joined;
}

std::wstring ClipboardText(HWND owner)
{
    std::wstring copied;
    if (OpenClipboard(owner)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return copied;
}

// MSAA, through oleacc as a screen reader reads the window.
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::string Hex(HRESULT result)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(result));
    return text;
}

// A check that Wine's oleacc cannot pass yet (it has no proxy for buttons and
// combo boxes): under Wine a difference is printed as what Wine gives, not
// counted as a failure.
void ReportBeyondWine(const char* what, bool ok, const std::string& detail)
{
    if (!ok && UnderWine()) {
        std::printf("wine %s: %s\n", what, detail.c_str());
        return;
    }
    Report(what, ok, detail);
}

// A control's accessible object and what it says of itself.
class Accessible {
public:
    explicit Accessible(HWND control)
    {
        AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&object_));
    }
    ~Accessible()
    {
        if (object_) {
            object_->Release();
        }
    }
    Accessible(const Accessible&) = delete;
    Accessible& operator=(const Accessible&) = delete;

    std::wstring Name() const { return Text(&IAccessible::get_accName); }
    std::wstring Value() const { return Text(&IAccessible::get_accValue); }
    std::wstring DefaultAction() const { return Text(&IAccessible::get_accDefaultAction); }
    long Role() const { return Number(&IAccessible::get_accRole); }
    long State() const { return Number(&IAccessible::get_accState); }
    HRESULT SetValue(const std::wstring& value) const
    {
        BSTR text = SysAllocString(value.c_str());
        const HRESULT result = object_ ? object_->put_accValue(Self(), text) : E_FAIL;
        SysFreeString(text);
        return result;
    }
    HRESULT DoDefaultAction() const { return object_ ? object_->accDoDefaultAction(Self()) : E_FAIL; }

private:
    static VARIANT Self()
    {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return self;
    }
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const
    {
        BSTR text = nullptr;
        if (object_ && (object_->*get)(Self(), &text) == S_OK && text) {
            std::wstring copy(text, SysStringLen(text));
            SysFreeString(text);
            return copy;
        }
        return L"";
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) const
    {
        VARIANT number;
        VariantInit(&number);
        if (object_ && (object_->*get)(Self(), &number) == S_OK && number.vt == VT_I4) {
            return number.lVal;
        }
        return -1;
    }

    IAccessible* object_ = nullptr;
};

// What Wine's annotation service answers when asked to name a control.
std::string AnnotationAnswer(HWND control)
{
    if (!UnderWine()) {
        return "";
    }
    IAccPropServices* names = nullptr;
    HRESULT result = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IAccPropServices, reinterpret_cast<void**>(&names));
    if (SUCCEEDED(result)) {
        result = names->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       PROPID_ACC_NAME, L"Двойки числа");
        names->Release();
    }
    return "; Wine's annotation service answers " + Hex(result);
}

std::wstring Hidden(HWND control)
{
    const long state = Accessible(control).State();
    return state < 0 ? L"no state" : (state & STATE_SYSTEM_INVISIBLE) ? L"invisible" : L"shown";
}

// Where the label showing a text draws it: "left" when its text starts at
// its box's left edge, "centre" when it is as far from both edges, as read
// from the label's pixels drawn into a bitmap of its own.
std::wstring LabelAlignment(HWND window, const std::wstring& text)
{
    HWND label = nullptr;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0 && Fixture::Text(child) == text) {
            label = child;
        }
    }
    if (!label) {
        return L"no such label";
    }
    RECT box;
    GetClientRect(label, &box);
    HDC screen = GetDC(label);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, box.right, box.bottom);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    long first = -1, last = -1;  // the columns of the text's dark pixels
    for (long x = 0; x < box.right; ++x) {
        for (long y = 0; y < box.bottom; ++y) {
            const COLORREF pixel = GetPixel(dc, x, y);
            if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 300) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
        }
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(label, screen);
    const long before = first, after = box.right - 1 - last;
    if (first >= 0 && std::abs(before - after) * 20 <= box.right) {  // the glyphs' sides differ
        return L"centre";
    }
    if (first >= 0 && before <= 3 && after > before + 3) {
        return L"left";
    }
    return L"text from " + std::to_wstring(first) + L" to " + std::to_wstring(last) + L" of "
           + std::to_wstring(box.right);
}

// The scenarios every edition plays (tests/window_scenarios.txt), each on a
// fresh window.
void Scenarios()
{
    const std::vector<scenarios::Scenario> all = scenarios::Read(
#include "tests/window_scenarios.inc"
    );
    for (const scenarios::Scenario& scenario : all) {
        Fixture f;
        const int failedBefore = failed;
        for (const scenarios::Line& line : scenario.lines) {
            if (failed != failedBefore) {
                break;  // the rest would only repeat the first difference
            }
            const std::wstring argument = Wide(line.argument);
            const std::string what = Narrow(Wide(scenario.name)) + ", line "
                                     + std::to_string(line.number) + " (" + line.verb + ")";
            const auto expect = [&](const std::wstring& actual, const std::wstring& expected) {
                Check(what.c_str(), actual, expected);
            };
            if (line.verb == "type") {
                f.Type(argument.c_str());
            } else if (line.verb == "press") {
                int pressed = -1;
                for (int index = 0; index < 3; ++index) {
                    if (Fixture::Text(f.Button(index)) == argument) {
                        pressed = index;
                    }
                }
                Report(what.c_str(), pressed >= 0, "no such button");
                f.Click(pressed);
            } else if (line.verb == "key") {
                const WPARAM key = argument == L"Esc" ? VK_ESCAPE : VK_RETURN;
                SetFocus(f.ComboEdit());
                PostMessageW(f.ComboEdit(), WM_KEYDOWN, key, 1);
                PostMessageW(f.ComboEdit(), WM_KEYUP, key, 0xC0000001);
                f.Pump();
            } else if (line.verb == "open") {
                f.Open();
            } else if (line.verb == "pick") {
                if (!SendMessageW(f.Combo(), CB_GETDROPPEDSTATE, 0, 0)) {
                    f.Open();
                }
                SendMessageW(f.Combo(), CB_SETCURSEL, std::stoi(argument) - 1, 0);
                SendMessageW(f.Combo(), CB_SHOWDROPDOWN, FALSE, 0);
                f.Pump();
            } else if (line.verb == "copy") {
                SetFocus(f.ReportBox());
                PostMessageW(f.ReportBox(), WM_CHAR, 1, 1);  // Ctrl+A
                PostMessageW(f.ReportBox(), WM_CHAR, 3, 1);  // Ctrl+C
                f.Pump();
            } else if (line.verb == "field") {
                expect(f.ComboText(), argument);
            } else if (line.verb == "selected") {
                DWORD start = 0, end = 0;
                SendMessageW(f.Combo(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
                expect(std::to_wstring(start) + L"-" + std::to_wstring(end),
                       L"0-" + std::to_wstring(f.ComboText().size()));
                Report(what.c_str(), GetFocus() == f.ComboEdit(), "the number field has no focus");
            } else if (line.verb == "entries") {
                expect(Joined(f.Entries()), argument);
            } else if (line.verb == "complements") {
                expect(Joined(f.Complements()), argument);
            } else if (line.verb == "report") {
                expect(f.ReportText(), Wide(scenarios::Lines(line.argument, u"\r\n")));
            } else if (line.verb == "report-begins") {
                expect(f.ReportText().substr(0, argument.size()), argument);
            } else if (line.verb == "clipboard") {
                expect(ClipboardText(f.window), Wide(scenarios::Lines(line.argument, u"\r\n")));
            } else if (line.verb == "messages") {
                expect(std::to_wstring(f.reports.size()), argument);
            } else if (line.verb == "expanded") {
                // As a screen reader reads it; where MSAA tells neither state
                // (Wine's oleacc knows no combo box), as the combo box tells it.
                const long state = Accessible(f.Combo()).State();
                const bool told = state >= 0 && (state & (STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED));
                ReportBeyondWine(what.c_str(), told, "MSAA tells neither expanded nor collapsed, state "
                                                         + std::to_string(state));
                const bool expanded = told ? (state & STATE_SYSTEM_EXPANDED) != 0
                                           : SendMessageW(f.Combo(), CB_GETDROPPEDSTATE, 0, 0) != 0;
                expect(expanded ? L"yes" : L"no", argument);
            } else if (line.verb == "label") {
                const std::size_t blank = argument.find(L' ');
                expect(LabelAlignment(f.window, argument.substr(blank + 1)), argument.substr(0, blank));
            } else {
                Report(what.c_str(), false, "no such step or check");
            }
        }
        std::printf("%s %s\n", failed == failedBefore ? "ok  " : "FAIL",
                    Narrow(Wide(scenario.name)).c_str());
    }
}

// Tab and Shift+Tab, as keys through the message loop, from the report box
// around the window and back; Space presses the button with the focus.
void TabOrder()
{
    Fixture f;
    auto nameOf = [&](HWND control) -> std::wstring {
        if (control == f.ComboEdit()) {
            return L"Combo1";
        }
        if (control == f.ReportBox()) {
            return L"Text1(0)";
        }
        for (int index = 0; index < 3; ++index) {
            if (control == f.Button(index)) {
                return L"Command1(" + std::to_wstring(index) + L")";
            }
        }
        return L"?";
    };
    auto press = [&](WPARAM key, bool shift) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        f.Pump();
    };
    SetFocus(f.ReportBox());
    std::vector<std::wstring> forward, backward;
    for (int i = 0; i < 5; ++i) {
        press(VK_TAB, false);
        forward.push_back(nameOf(GetFocus()));
    }
    for (int i = 0; i < 5; ++i) {
        press(VK_TAB, true);
        backward.push_back(nameOf(GetFocus()));
    }
    Check("Tab", forward, {L"Combo1", L"Command1(0)", L"Command1(1)", L"Command1(2)", L"Text1(0)"});
    Check("Shift+Tab", backward, {L"Command1(2)", L"Command1(1)", L"Command1(0)", L"Combo1", L"Text1(0)"});

    // Space on «Изведи», with no entries: the task statement gives way to an
    // empty report.
    SetFocus(f.Button(kOutputPairs));
    press(VK_SPACE, false);
    Check("Space presses Изведи", f.ReportText(), L"");
}

// Away to another window and back: the focus returns to the control it was
// on, not to the number field.
void FocusAfterSwitching()
{
    Fixture f;
    HWND other = CreateWindowExW(0, L"STATIC", L"another window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const std::vector<std::pair<const char*, HWND>> controls{
        {"the report box", f.ReportBox()}, {"Изчисти", f.Button(kClearAll)}};
    for (const auto& [name, control] : controls) {
        SetActiveWindow(f.window);
        SetFocus(control);
        f.Pump();
        SetActiveWindow(other);
        f.Pump();
        SetActiveWindow(f.window);
        f.Pump();
        Report((std::string("the focus back on ") + name).c_str(), GetFocus() == control,
               "it is on window " + std::to_string(reinterpret_cast<INT_PTR>(GetFocus()))
                   + (GetFocus() == f.ComboEdit() ? " (the number field)" : ""));
    }
    DestroyWindow(other);
}

void Layout()
{
    Fixture f;
    const UINT dpi = GetDpiForWindow(f.window);
    auto px = [dpi](int pixelsAt96) { return MulDiv(pixelsAt96, static_cast<int>(dpi), 96); };
    RECT client;
    GetClientRect(f.window, &client);
    Check("client width", client.right, static_cast<long>(px(461)));
    Check("client height", client.bottom, static_cast<long>(px(315)));
    const RECT enter = f.ClientRectOf(f.Button(0));
    Check("Въведи left", enter.left, static_cast<long>(px(160)));
    Check("Въведи top", enter.top, static_cast<long>(px(64)));
    Check("Въведи width", enter.right - enter.left, static_cast<long>(px(97)));
    const RECT clear = f.ClientRectOf(f.Button(1));
    Check("Изчисти top", clear.top, static_cast<long>(px(144)));
    const RECT output = f.ClientRectOf(f.Button(2));
    Check("Изведи top", output.top, static_cast<long>(px(104)));
    const RECT report = f.ClientRectOf(f.ReportBox());
    Check("report box", report.left * 10000 + report.top, static_cast<long>(px(8) * 10000 + px(184)));
    Check("List1 hidden", static_cast<long>(IsWindowVisible(FindControl(f.window, u"List1"))), 0L);
    Check("Text1(1) hidden", static_cast<long>(IsWindowVisible(FindControl(f.window, u"Text1", 1))), 0L);
    Check("Text1(1) holds the quotation",
          static_cast<long>(GetWindowTextLengthW(FindControl(f.window, u"Text1", 1))), 118L);

    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.Button(0), WM_GETFONT, 0, 0)), sizeof font, &font);
    Check("font: Cyrillic", static_cast<long>(font.lfCharSet), 204L);
    Check("font: 12 points", static_cast<long>(font.lfHeight), static_cast<long>(-MulDiv(12, static_cast<int>(dpi), 72)));
    const std::wstring face = font.lfFaceName;
    Report("font: Times New Roman or its substitute",
           face == L"Times New Roman" || face == L"Liberation Serif", Narrow(face));
}

// Ctrl+plus five times, from the number field, on the main keyboard and the
// keypad: at 200 % the client area and every shown control twice their size
// and place at 100 %, the focus where it was; Ctrl+0 from the report box:
// 100 % again.
void Zoom()
{
    Fixture f;
    const int dpi = static_cast<int>(GetDpiForWindow(f.window));
    auto expectZoom = [&](const char* what, int times) {
        std::vector<std::wstring> actual, expected;
        auto add = [](std::vector<std::wstring>& to, long x, long y, long width, long height) {
            to.push_back(std::to_wstring(x) + L"," + std::to_wstring(y) + L" "
                         + std::to_wstring(width) + L"x" + std::to_wstring(height));
        };
        auto px = [&](int twips) { return times * form::TwipsToPixels(twips, dpi); };
        RECT client;
        GetClientRect(f.window, &client);
        add(actual, 0, 0, client.right, client.bottom);
        add(expected, 0, 0, px(form::MainWindow().clientWidth), px(form::MainWindow().clientHeight));
        for (const form::ControlDesign& design : form::Controls()) {
            const RECT rect = f.ClientRectOf(FindControl(f.window, design.name, design.index));
            if (design.visible) {
                add(actual, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
                add(expected, px(design.left), px(design.top), px(design.width), px(design.height));
            }
        }
        Check(what, actual, expected);
    };
    auto press = [&](HWND control, WPARAM key) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SetFocus(control);
        PostMessageW(control, WM_KEYDOWN, key, 1);
        PostMessageW(control, WM_KEYUP, key, 0xC0000001);
        f.Pump();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    for (WPARAM key : {VK_OEM_PLUS, VK_ADD, VK_OEM_PLUS, VK_ADD, VK_OEM_PLUS}) {
        press(f.ComboEdit(), key);
    }
    expectZoom("at 200 %", 2);
    Report("the focus kept", GetFocus() == f.ComboEdit(), "not on the number field");
    press(f.ReportBox(), '0');
    expectZoom("at 100 % again", 1);
}

void Accessibility()
{
    Fixture f;
    const std::wstring title = Wide(u"" VELMORA_WEB_ADDRESS " Математика - двойки числа с равни суми");
    Check("title", Fixture::Text(f.window), title);
    Check("title through MSAA", Accessible(f.window).Name(), title);

    for (int index = 0; index < 3; ++index) {
        const Accessible button(f.Button(index));
        const std::wstring caption = Wide(form::Control(u"Command1", index).text);
        Check("button named by its caption", button.Name(), caption);
        ReportBeyondWine("button is a push button", button.Role() == ROLE_SYSTEM_PUSHBUTTON,
                         Narrow(caption) + " has role " + std::to_string(button.Role()));
        ReportBeyondWine("button has a default action", !button.DefaultAction().empty(),
                         Narrow(caption) + " has none");
    }
    HWND label = GetWindow(f.Combo(), GW_HWNDPREV);
    Check("the label created just before the combo box", Fixture::Text(label), L"Числа");
    const Accessible combo(f.Combo());
    ReportBeyondWine("combo box named by its label", combo.Name() == L"Числа",
                     "its name is \"" + Narrow(combo.Name()) + "\"");
    ReportBeyondWine("combo box's role", combo.Role() == ROLE_SYSTEM_COMBOBOX,
                     "role " + std::to_string(combo.Role()));
    const Accessible report(f.ReportBox());
    ReportBeyondWine("report box named", report.Name() == L"Двойки числа",
                     "its name is \"" + Narrow(report.Name()) + "\"" + AnnotationAnswer(f.ReportBox()));
    Check("report box is text", report.Role(), ROLE_SYSTEM_TEXT);
    Check("report box is read-only", report.State() & STATE_SYSTEM_READONLY, STATE_SYSTEM_READONLY);
    Check("report box's text", report.Value().substr(0, 24), L"Да се реализира проект, ");
    Check("List1 invisible", Hidden(FindControl(f.window, u"List1")), L"invisible");
    Check("Text1(1) invisible", Hidden(FindControl(f.window, u"Text1", 1)), L"invisible");

    // The road of one number through MSAA alone.
    const Accessible field(f.ComboEdit());
    const HRESULT set = field.SetValue(L"42");
    Report("number field's value set", set == S_OK, "put_accValue returned " + Hex(set));
    Check("number field's value", field.Value(), L"42");
    auto press = [&](int index) {
        const HRESULT result = Accessible(f.Button(index)).DoDefaultAction();
        f.Pump();
        ReportBeyondWine("doDefaultAction presses", result == S_OK,
                         "accDoDefaultAction on " + Narrow(Fixture::Text(f.Button(index)))
                             + " returned " + Hex(result));
        return result == S_OK;
    };
    if (press(kInputNumber) && press(kOutputPairs)) {
        Check("the report through MSAA", report.Value(), L"42 + 57 = 99\r\n");
        press(kClearAll);
        Check("the report emptied through MSAA", report.Value(), L"");
    }
    Check("List1 invisible after a number", Hidden(FindControl(f.window, u"List1")), L"invisible");
}

}  // namespace

int main()
{
    CoInitialize(nullptr);
    const std::vector<std::pair<const char*, void (*)()>> cases{
        {"tab order", TabOrder},
        {"focus after switching windows", FocusAfterSwitching},
        {"layout", Layout},
        {"zoom", Zoom},
        {"accessibility", Accessibility},
    };
    Scenarios();
    for (const auto& [name, run] : cases) {
        const int failedBefore = failed;
        run();
        std::printf("%s %s\n", failed == failedBefore ? "ok  " : "FAIL", name);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
