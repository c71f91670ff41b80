// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The Windows edition of the main window, on the plain Windows API, built
// from the window's tables.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string_view>

#include "window/form_tables.h"

namespace velmora {

class PairBook;
struct ErrorReport;

namespace win32 {

// Shows an error report and returns once the user has dismissed it.
using ErrorDisplay = std::function<void(HWND owner, const ErrorReport& report)>;

struct FormOptions {
    bool endsProgramOnClose = true;  // closing the window ends the message loop
    ErrorDisplay errorDisplay;       // empty: a message box
};

// Creates the main window with its controls, not yet shown. The window owns
// everything behind it and frees it when it is destroyed.
HWND CreateMainWindow(HINSTANCE instance, FormOptions options = {});

// The control of the tables with the given name and index, in a main window.
HWND FindControl(HWND mainWindow, std::u16string_view name, int index = form::kNoIndex);

// The pair book of a main window.
const PairBook& BookOf(HWND mainWindow);

// Keyboard handling of the main window's message loop: Tab and Shift+Tab
// move between the controls in the tables' tab order, Ctrl+A selects a text
// box's whole text; Enter and Esc press no button. Ctrl+plus (or =),
// Ctrl+minus and Ctrl+0, on the main keyboard or the keypad, and Ctrl+wheel
// zoom the form, whichever control has the focus. True when the message was
// handled and must not be dispatched.
bool PreTranslate(HWND mainWindow, MSG& message);

// Runs the message loop until the main window is closed; the exit code.
int RunMessageLoop(HWND mainWindow);

}  // namespace win32
}  // namespace velmora
