// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Windows edition's real window, one click at a time, at 1,000, 32,767
// and 100,000 entries, beside a floor made of the same bare Windows controls
// (an editable combo box, a hidden list box, a read-only multi-line edit box
// and a plain push button) whose click puts texts made beforehand straight
// into them; then the start-up of velmora.exe beside a bare window of the
// same size, and the memory an entry takes. It carries velmora.exe's
// manifest, so that its controls are the same common controls (version 6). A click is timed from BM_CLICK
// until its messages, painting included, have been handled. Prints figures,
// asserts nothing.
//
//   bench_win32_window [SIZE...]     (default: 1000 32767 100000)
//   bench_win32_window start-up      the start-up alone
//   bench_win32_window velmora|floor SIZE
//                                    one side's clicks at one size, as a
//                                    line of medians (run by the first form)
//   bench_win32_window memory velmora|floor COUNT
//                                    one side's memory per entry (the same)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "logic/commands.h"
#include "window/form_tables.h"
#include "window/win32/win32_form.h"

namespace {

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) / frequency;
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n == 0 ? 0 : n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// Handles every message waiting, as the program's message loop would.
void Pump()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (!root || !IsDialogMessageW(root, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// Messages sent or posted to this thread's windows while counting.
long messageCount = 0;
LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam)
{
    ++messageCount;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK CountPosted(int code, WPARAM wParam, LPARAM lParam)
{
    if (wParam == PM_REMOVE) {
        ++messageCount;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// One click, timed until its messages have been handled; with `counted`, the
// messages it caused are counted too.
double TimedClick(HWND button, long* counted = nullptr)
{
    // The user clicks in the active window: making it active, which its
    // first click would otherwise do, is left out of the timing.
    HWND window = GetAncestor(button, GA_ROOT);
    if (GetActiveWindow() != window) {
        SetActiveWindow(window);
        Pump();
    }
    HHOOK sent = nullptr, posted = nullptr;
    if (counted) {
        messageCount = 0;
        sent = SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
        posted = SetWindowsHookExW(WH_GETMESSAGE, CountPosted, nullptr, GetCurrentThreadId());
    }
    const double start = Now();
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
    const double seconds = Now() - start;
    if (counted) {
        UnhookWindowsHookEx(sent);
        UnhookWindowsHookEx(posted);
        *counted = messageCount;
    }
    return seconds;
}

std::wstring EntryText(long i, int digits)
{
    return std::to_wstring(1 + i % (digits == 1 ? 9 : 9999));
}

// The Velmora window with `count` entries typed and entered: a first one of
// `digits` characters, then texts of up to as many characters.
class VelmoraWindow {
public:
    VelmoraWindow(long count, int digits)
    {
        velmora::win32::FormOptions options;
        options.endsProgramOnClose = false;
        window_ = velmora::win32::CreateMainWindow(GetModuleHandleW(nullptr), options);
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
        combo_ = velmora::win32::FindControl(window_, u"Combo1");
        for (int i = 0; i < 3; ++i) {
            buttons_[i] = velmora::win32::FindControl(window_, u"Command1", i);
        }
        Pump();
        Type(std::wstring(static_cast<std::size_t>(digits), L'1'));
        SendMessageW(buttons_[velmora::kInputNumber], BM_CLICK, 0, 0);
        for (long i = 1; i < count; ++i) {
            Type(EntryText(i, digits));
            SendMessageW(buttons_[velmora::kInputNumber], BM_CLICK, 0, 0);
            if (i % 256 == 0) {
                Pump();
            }
        }
        Pump();
    }
    ~VelmoraWindow() { DestroyWindow(window_); }
    VelmoraWindow(const VelmoraWindow&) = delete;
    VelmoraWindow& operator=(const VelmoraWindow&) = delete;

    void Type(const std::wstring& text) { SetWindowTextW(combo_, text.c_str()); }
    double Click(int index, long* counted = nullptr) { return TimedClick(buttons_[index], counted); }

private:
    HWND window_ = nullptr;
    HWND combo_ = nullptr;
    HWND buttons_[3] = {};
};

// The floor: the same kinds of bare controls, in the same places and font,
// and a plain push button whose click does one kind of work on them.
class Floor {
public:
    enum class Work { Enter, Fill, Refill, Output, Clear };

    // A floor holding `count` entries and their complements, put in one click
    // each as Velmora's are: how a window was filled decides, under Wine,
    // how long emptying its lists takes and how much memory they keep.
    explicit Floor(long count)
    {
        for (long i = 0; i < count; ++i) {
            entries_.push_back(EntryText(i, 4));
            complements_.push_back(std::to_wstring(9999 - (1 + i % 9999)));
            report_ += entries_.back() + L" + " + complements_.back() + L" = 9999\r\n";
        }
        Register();
        const velmora::form::WindowDesign& design = velmora::form::MainWindow();
        constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        RECT frame{0, 0, Px(design.clientWidth), Px(design.clientHeight)};
        AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
        window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kClass, L"floor", style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), this);
        font_ = MakeFont(window_);
        combo_ = Make(L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                      WS_EX_CLIENTEDGE, u"Combo1", velmora::form::kNoIndex, 8);
        button_ = Make(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, u"Command1", 0);
        const std::u16string_view caption = velmora::form::Control(u"Command1", 0).text;
        SetWindowTextW(button_, std::wstring(caption.begin(), caption.end()).c_str());
        list_ = Make(L"LISTBOX", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 0, u"List1",
                     velmora::form::kNoIndex);
        ShowWindow(list_, SW_HIDE);
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);  // hidden: never drawn
        report_box_ = Make(L"EDIT",
                           ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL
                               | WS_TABSTOP,
                           WS_EX_CLIENTEDGE, u"Text1", 0);
        SendMessageW(report_box_, EM_SETLIMITTEXT, 0, 0);
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
        Pump();
        work_ = Work::Fill;
        for (long i = 0; i < count; ++i) {
            SendMessageW(button_, BM_CLICK, 0, 0);
            if (i % 256 == 0) {
                Pump();
            }
        }
        Pump();
    }
    ~Floor()
    {
        DestroyWindow(window_);
        DeleteObject(font_);
    }
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    double Click(Work work, long* counted = nullptr)
    {
        work_ = work;
        return TimedClick(button_, counted);
    }
    void ForgetReport() { std::wstring().swap(report_); }
    // Puts the focus in the number field, as the window has it before a
    // click moves it to the clicked button.
    void FocusField()
    {
        SetFocus(FieldEdit());
        Pump();
    }

private:
    static constexpr wchar_t kClass[] = L"VelmoraBenchFloor";

    static int Px(int twips) { return velmora::form::TwipsToPixels(twips); }

    // The window's font, or its substitute where the family is missing.
    static HFONT MakeFont(HWND window)
    {
        const velmora::form::FontDesign& design = velmora::form::MainWindow().font;
        auto make = [&](std::u16string_view family) {
            const std::wstring face(family.begin(), family.end());
            return CreateFontW(-MulDiv(design.points, 96, 72), 0, 0, 0, design.weight, FALSE,
                               FALSE, FALSE, static_cast<DWORD>(design.charSet), 0, 0,
                               CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_ROMAN, face.c_str());
        };
        HFONT font = make(design.family);
        HDC dc = GetDC(window);
        HGDIOBJ previous = SelectObject(dc, font);
        wchar_t chosen[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, chosen);
        SelectObject(dc, previous);
        ReleaseDC(window, dc);
        if (std::wstring(design.family.begin(), design.family.end()) != chosen) {
            DeleteObject(font);
            font = make(design.substitute);
        }
        return font;
    }

    static void Register()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        if (GetClassInfoExW(GetModuleHandleW(nullptr), kClass, &windowClass)) {
            return;
        }
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = CreateSolidBrush(RGB(192, 192, 255));
        windowClass.lpszClassName = kClass;
        RegisterClassExW(&windowClass);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<Floor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED
            && reinterpret_cast<HWND>(lParam) == self->button_) {
            self->Do();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND Make(const wchar_t* className, DWORD style, DWORD exStyle, std::u16string_view name,
              int index, int heightFactor = 1)
    {
        const velmora::form::ControlDesign& design = velmora::form::Control(name, index);
        HWND control = CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style,
                                       Px(design.left), Px(design.top), Px(design.width),
                                       Px(design.height) * heightFactor, window_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    }

    // What a click must do to the controls at the least, with texts made
    // beforehand.
    void Do()
    {
        switch (work_) {
        case Work::Enter:
            SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"4242"));
            SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"5757"));
            break;
        case Work::Fill:
            SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries_[filled_].c_str()));
            SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(complements_[filled_].c_str()));
            ++filled_;
            break;
        case Work::Refill:
            SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"44"));
            SendMessageW(list_, LB_RESETCONTENT, 0, 0);
            SendMessageW(list_, LB_INITSTORAGE, complements_.size(), complements_.size() * 12);
            for (const std::wstring& complement : complements_) {
                SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(complement.c_str()));
            }
            break;
        case Work::Output:
            SetWindowTextW(report_box_, report_.c_str());
            return;
        case Work::Clear:
            SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
            SendMessageW(list_, LB_RESETCONTENT, 0, 0);
            SetWindowTextW(combo_, L"");
            SetWindowTextW(report_box_, L"");
            return;
        }
        SetWindowTextW(combo_, L"");
        SetFocus(FieldEdit());  // the edit field itself: one move of the focus
        SendMessageW(combo_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }

    HWND FieldEdit() const
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo_, &info);
        return info.hwndItem;
    }

    HWND window_ = nullptr;
    HWND combo_ = nullptr;
    HWND list_ = nullptr;
    HWND report_box_ = nullptr;
    HWND button_ = nullptr;
    HFONT font_ = nullptr;
    std::vector<std::wstring> entries_, complements_;
    std::size_t filled_ = 0;
    std::wstring report_;
    Work work_ = Work::Enter;
};

// A UTF-8 text padded with blanks to `width` characters.
std::string Padded(const std::string& text, std::size_t width)
{
    const auto characters = static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; }));
    return text + std::string(characters < width ? width - characters : 0, ' ');
}

// Each click's times and the messages of its first, for one kind of window.
struct ClickTimes {
    std::vector<double> enter, output, rebuild, clear;
    long enterMessages = 0, outputMessages = 0, rebuildMessages = 0, clearMessages = 0;
};

// The Velmora window's clicks: first, on a window filled with one-character
// entries, «Въведи» rebuilding with texts of two to nine characters; then on
// a second one «Въведи» appending, «Изведи» and «Изчисти». The rebuilding
// comes first: once a filled window has been closed, Wine's heap makes a list
// box's refill up to twice as slow.
ClickTimes VelmoraClicks(long size)
{
    ClickTimes t;
    {
        VelmoraWindow rebuilt(size, 1);
        for (int length = 2; length <= 9; ++length) {
            rebuilt.Type(std::wstring(static_cast<std::size_t>(length), L'4'));
            t.rebuild.push_back(
                rebuilt.Click(velmora::kInputNumber, length == 2 ? &t.rebuildMessages : nullptr));
        }
        rebuilt.Click(velmora::kOutputPairs);
        t.clear.push_back(rebuilt.Click(velmora::kClearAll));
    }
    VelmoraWindow window(size, 4);
    window.Type(L"4242");
    window.Click(velmora::kInputNumber, &t.enterMessages);
    for (int i = 0; i < 200; ++i) {
        window.Type(L"4242");
        t.enter.push_back(window.Click(velmora::kInputNumber));
    }
    const int outputs = size > 50000 ? 3 : 5;
    for (int i = 0; i < outputs; ++i) {
        t.output.push_back(window.Click(velmora::kOutputPairs, i == 0 ? &t.outputMessages : nullptr));
    }
    // «Изчисти» takes the focus from «Изведи».
    t.clear.push_back(window.Click(velmora::kClearAll, &t.clearMessages));
    return t;
}

// The floor's clicks, in the same order on two floors made alike.
ClickTimes FloorClicks(long size)
{
    using Work = Floor::Work;
    ClickTimes t;
    {
        Floor refilled(size);
        for (int i = 0; i < 8; ++i) {
            t.rebuild.push_back(refilled.Click(Work::Refill, i == 0 ? &t.rebuildMessages : nullptr));
        }
        refilled.Click(Work::Output);
        refilled.FocusField();
        t.clear.push_back(refilled.Click(Work::Clear));
    }
    Floor floor(size);
    floor.Click(Work::Enter, &t.enterMessages);
    for (int i = 0; i < 200; ++i) {
        t.enter.push_back(floor.Click(Work::Enter));
    }
    const int outputs = size > 50000 ? 3 : 5;
    for (int i = 0; i < outputs; ++i) {
        t.output.push_back(floor.Click(Work::Output, i == 0 ? &t.outputMessages : nullptr));
    }
    floor.FocusField();  // its one button has the focus after «Изведи»
    t.clear.push_back(floor.Click(Work::Clear, &t.clearMessages));
    return t;
}

// One side's medians in milliseconds and message counts, as one line.
void PrintTimes(const ClickTimes& t)
{
    std::printf("%.6f %.6f %.6f %.6f %ld %ld %ld %ld\n", Median(t.enter) * 1e3,
                Median(t.rebuild) * 1e3, Median(t.output) * 1e3, Median(t.clear) * 1e3,
                t.enterMessages, t.rebuildMessages, t.outputMessages, t.clearMessages);
}

// Runs this program again with `arguments` and returns what it printed: each
// side in a process of its own, since Wine's heap makes a list box's work
// several times slower once another filled window has lived in the same
// process.
std::string RunSelf(const std::wstring& arguments)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        return {};
    }
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(write);
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        output.append(buffer, got);
    }
    CloseHandle(read);
    if (started) {
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return output;
}

// One side's clicks, `velmora` or `floor`, at one size.
bool RunSide(const wchar_t* side, long size, double medians[4], long messages[4])
{
    const std::string output = RunSelf(std::wstring(side) + L" " + std::to_wstring(size));
    return std::sscanf(output.c_str(), "%lf %lf %lf %lf %ld %ld %ld %ld", &medians[0], &medians[1],
                       &medians[2], &medians[3], &messages[0], &messages[1], &messages[2],
                       &messages[3]) == 8;
}

void Clicks(long size)
{
    double v[4], f[4];
    long vm[4], fm[4];
    if (!RunSide(L"velmora", size, v, vm) || !RunSide(L"floor", size, f, fm)) {
        std::printf("(%ld entries: a side could not be measured)\n", size);
        return;
    }
    const char* clicks[] = {"Въведи, appending", "Въведи, rebuilding", "Изведи", "Изчисти"};
    for (int i = 0; i < 4; ++i) {
        std::printf("%s %7ld %11.3f ms %11.3f ms %6.2fx %9ld %7ld\n", Padded(clicks[i], 22).c_str(),
                    size, v[i], f[i], f[i] > 0 ? v[i] / f[i] : 0, vm[i], fm[i]);
    }
    std::fflush(stdout);
}

// Process start to the window shown and idle, waiting for its first pass
// through an empty message queue.
double StartUp(const std::wstring& program)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    const double start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return 0;
    }
    const bool idle = WaitForInputIdle(process.hProcess, 30000) == 0;
    const double seconds = Now() - start;
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return idle ? seconds : 0;
}

std::wstring Beside(const wchar_t* relative)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + relative;
}

void StartUps()
{
    const std::wstring velmora = Beside(VELMORA_EXE_FROM_BENCH);
    const std::wstring bare = Beside(L"bare_window.exe");
    std::vector<double> v, b;
    StartUp(velmora);  // the first start loads the files from disk
    StartUp(bare);
    for (int i = 0; i < 15; ++i) {
        v.push_back(StartUp(velmora));
        b.push_back(StartUp(bare));
    }
    std::printf("%-22s %7s %11.1f ms %11.1f ms %6.2fx\n", "start-up", "", Median(v) * 1e3,
                Median(b) * 1e3, Median(v) / Median(b));
}

// The process's working set, and the bytes in use in all of its heaps: what
// the book and the controls hold, without the free pages Wine's heap keeps.
struct MemoryUse {
    double workingSet = 0, heap = 0;
};
MemoryUse MemoryNow()
{
    MemoryUse use;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    use.workingSet = static_cast<double>(counters.WorkingSetSize);
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < count; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                use.heap += static_cast<double>(entry.cbData);
            }
        }
        HeapUnlock(heaps[i]);
    }
    return use;
}

// One side's memory per entry, `count` entries entered by clicks, as
// "working-set heap" in bytes. The floor holds its texts made beforehand, as
// Velmora's book holds the entries and their complements.
void MemorySide(bool velmora, long count)
{
    const MemoryUse before = MemoryNow();
    MemoryUse after;
    if (velmora) {
        VelmoraWindow window(count, 4);
        after = MemoryNow();
    } else {
        Floor floor(count);
        floor.ForgetReport();
        after = MemoryNow();
    }
    std::printf("%.1f %.1f\n", (after.workingSet - before.workingSet) / static_cast<double>(count),
                (after.heap - before.heap) / static_cast<double>(count));
}

// Memory per entry, each side in a process of its own. Under Wine the working
// set grows by kilobytes a click for the bare controls too, and gives them
// back when the window is destroyed: pages its heap keeps after the controls
// have freed them. The bytes in use are the steadier figure.
void Memory(long count)
{
    double v[2] = {}, f[2] = {};
    const std::wstring size = std::to_wstring(count);
    if (std::sscanf(RunSelf(L"memory velmora " + size).c_str(), "%lf %lf", &v[0], &v[1]) != 2
        || std::sscanf(RunSelf(L"memory floor " + size).c_str(), "%lf %lf", &f[0], &f[1]) != 2) {
        std::printf("(memory: a side could not be measured)\n");
        return;
    }
    std::printf("memory per entry, %ld entered: heap in use %.0f bytes (floor %.0f), "
                "working set %.0f bytes (floor %.0f)\n",
                count, v[1], f[1], v[0], f[0]);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "start-up") {
        StartUps();
        return 0;
    }
    if (argc == 3 && (std::string(argv[1]) == "velmora" || std::string(argv[1]) == "floor")) {
        const long size = std::atol(argv[2]);
        PrintTimes(std::string(argv[1]) == "velmora" ? VelmoraClicks(size) : FloorClicks(size));
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "memory") {
        MemorySide(std::string(argv[2]) == "velmora", std::atol(argv[3]));
        return 0;
    }
    std::vector<long> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::atol(argv[i]));
    }
    if (sizes.empty()) {
        sizes = {1000, 32767, 100000};
    }
    std::printf("The Windows edition: one click through the window beside its floor (medians)\n");
    std::printf("%-22s %7s %14s %14s %7s %9s %7s\n", "click", "entries", "Velmora", "floor",
                "ratio", "messages", "floor's");
    std::fflush(stdout);
    for (const long size : sizes) {
        Clicks(size);
    }
    StartUps();
    Memory(20000);
    return 0;
}
