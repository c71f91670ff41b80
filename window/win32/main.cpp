// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Velmora, Windows edition: the program's entry.
#include "window/win32/win32_form.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    HWND window = velmora::win32::CreateMainWindow(instance);
    if (!window) {
        MessageBoxW(nullptr, L"Прозорецът на програмата не можа да бъде създаден.", L"Velmora",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    ShowWindow(window, show);
    UpdateWindow(window);
    return velmora::win32::RunMessageLoop(window);
}
