// The Windows edition's real window, driven through its controls with window
// messages, as a user's clicks and keys would drive it. Prints one line per
// check and closes with "N passed, N failed".
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "logic/pair_book.h"
#include "runtime/error_report.h"
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

const wchar_t* const kTaskStatementStart =
    L"Да се реализира проект, представящ междупредметни връзки Математика и Информатика.\r\n"
    L"Тема на проекта: Velmora.\r\n";

void RoadOfOneNumber()
{
    Fixture f;
    f.Enter(L"42");
    Check("one number: entries", f.Entries(), {L"42"});
    Check("one number: complements", f.Complements(), {L"57"});
    Check("one number: edit text emptied", f.ComboText(), L"");
    f.Click(2);
    Check("one number: report", f.ReportText(), L"42 + 57 = 99\r\n");
}

void ThreeNumbers()
{
    Fixture f;
    f.Enter(L"42");
    f.Enter(L"7");
    Check("42, 7: complements", f.Complements(), {L"57", L"92"});
    f.Enter(L"123");
    Check("42, 7, 123: entries", f.Entries(), {L"42", L"7", L"123"});
    Check("42, 7, 123: complements", f.Complements(), {L"957", L"992", L"876"});
    f.Click(2);
    f.Click(2);
    Check("42, 7, 123: report", f.ReportText(),
          L"42 + 957 = 999\r\n7 + 992 = 999\r\n123 + 876 = 999\r\n");
}

void Refusal()
{
    Fixture f;
    f.Enter(L"42");
    for (const wchar_t* text : {L"abc", L"0", L"-5", L""}) {
        f.Enter(text);
        Check("refused: edit text emptied", f.ComboText(), L"");
    }
    Check("refused: entries unchanged", f.Entries(), {L"42"});
    Check("refused: complements unchanged", f.Complements(), {L"57"});
    Check("refused: no message", static_cast<long>(f.reports.size()), 0L);
}

void TooLargeKeepsEverything()
{
    Fixture f;
    f.Enter(L"42");
    f.Enter(L"7");
    f.Click(2);
    f.Enter(L"1234567890");
    Check("too large: one message", static_cast<long>(f.reports.size()), 1L);
    if (!f.reports.empty()) {
        Check("too large: the message", std::wstring(f.reports[0].begin(), f.reports[0].end()),
              std::wstring(kTooLargeReport.text.begin(), kTooLargeReport.text.end()));
    }
    Check("too large: entries kept", f.Entries(), {L"42", L"7"});
    Check("too large: complements kept", f.Complements(), {L"57", L"92"});
    Check("too large: text kept", f.ComboText(), L"1234567890");
    DWORD start = 0, end = 0;
    SendMessageW(f.Combo(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    Check("too large: selection start", static_cast<long>(start), 0L);
    Check("too large: selection end", static_cast<long>(end), 10L);
    Check("too large: focus in the edit field", static_cast<long>(GetFocus() == f.ComboEdit()), 1L);
    Check("too large: report kept", f.ReportText(), L"42 + 57 = 99\r\n7 + 92 = 99\r\n");
    f.Enter(L"3E9");
    Check("too large value: second message", static_cast<long>(f.reports.size()), 2L);
    Check("too large value: entries kept", f.Entries(), {L"42", L"7"});
}

void ClearAll()
{
    Fixture f;
    f.Enter(L"42");
    f.Enter(L"123");
    f.Click(2);
    f.Type(L"5");
    f.Click(1);
    Check("Изчисти: entries", f.Entries(), {});
    Check("Изчисти: complements", f.Complements(), {});
    Check("Изчисти: report", f.ReportText(), L"");
    Check("Изчисти: edit text", f.ComboText(), L"");
    f.Enter(L"5");
    f.Click(2);
    Check("Изчисти, then 5", f.ReportText(), L"5 + 4 = 9\r\n");
}

void OutputWithoutEntries()
{
    Fixture f;
    Check("at start: the task statement",
          f.ReportText().substr(0, std::wcslen(kTaskStatementStart)), kTaskStatementStart);
    f.Click(2);
    Check("Изведи without entries empties the report", f.ReportText(), L"");
}

void EnterAndEscPressNothing()
{
    Fixture f;
    f.Enter(L"42");
    f.Type(L"7");
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM(VK_ESCAPE)}) {
        SetFocus(f.ComboEdit());
        PostMessageW(f.ComboEdit(), WM_KEYDOWN, key, 1);
        PostMessageW(f.ComboEdit(), WM_KEYUP, key, 0xC0000001);
        f.Pump();
        SetFocus(f.Button(0));
        PostMessageW(f.Button(0), WM_KEYDOWN, key, 1);
        PostMessageW(f.Button(0), WM_KEYUP, key, 0xC0000001);
        f.Pump();
    }
    Check("Enter, Esc: no entry added", f.Entries(), {L"42"});
    Check("Enter, Esc: window still there", static_cast<long>(IsWindowVisible(f.window)), 1L);
}

void TabOrder()
{
    Fixture f;
    std::vector<std::wstring> order;
    HWND control = f.ReportBox();
    for (int i = 0; i < 5; ++i) {
        control = GetNextDlgTabItem(f.window, control, FALSE);
        wchar_t name[32] = {};
        if (control == f.Combo()) {
            std::wcscpy(name, L"Combo1");
        } else if (control == f.ReportBox()) {
            std::wcscpy(name, L"Text1(0)");
        } else {
            for (int index = 0; index < 3; ++index) {
                if (control == f.Button(index)) {
                    std::swprintf(name, 32, L"Command1(%d)", index);
                }
            }
        }
        order.emplace_back(name);
    }
    Check("tab order", order, {L"Combo1", L"Command1(0)", L"Command1(1)", L"Command1(2)", L"Text1(0)"});
}

void SelectAllAndCopy()
{
    Fixture f;
    f.Enter(L"42");
    f.Click(2);
    SetFocus(f.ReportBox());
    PostMessageW(f.ReportBox(), WM_CHAR, 1, 1);  // Ctrl+A
    f.Pump();
    DWORD start = 0, end = 0;
    SendMessageW(f.ReportBox(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    Check("Ctrl+A selects the report", static_cast<long>(end - start), 14L);
    SendMessageW(f.ReportBox(), WM_COPY, 0, 0);
    std::wstring copied;
    if (OpenClipboard(f.window)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(GlobalLock(data));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    Check("Ctrl+C copies the report", copied, L"42 + 57 = 99\r\n");
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

}  // namespace

int main()
{
    const std::vector<std::pair<const char*, void (*)()>> cases{
        {"road of one number", RoadOfOneNumber},
        {"42, 7, 123", ThreeNumbers},
        {"refusal", Refusal},
        {"too large keeps everything", TooLargeKeepsEverything},
        {"Изчисти", ClearAll},
        {"Изведи without entries", OutputWithoutEntries},
        {"Enter and Esc", EnterAndEscPressNothing},
        {"tab order", TabOrder},
        {"Ctrl+A, Ctrl+C", SelectAllAndCopy},
        {"layout", Layout},
    };
    for (const auto& [name, run] : cases) {
        const int failedBefore = failed;
        run();
        std::printf("%s %s\n", failed == failedBefore ? "ok  " : "FAIL", name);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
