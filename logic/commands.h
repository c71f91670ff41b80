// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The three buttons' commands, run against the window's controls.
#pragma once

#include "logic/pair_book.h"
#include "runtime/form_controls.h"

namespace velmora {

// The index of each button in the Command1 array.
enum Command1Index : int { kInputNumber = 0, kClearAll = 1, kOutputPairs = 2 };

class Commands {
public:
    explicit Commands(FormControls& controls);

    // The click of button `index` of Command1; an index without a button
    // does nothing.
    void Command1Click(int index);

    const PairBook& Book() const { return book_; }

private:
    void InputNumber();
    void ClearAll();
    void OutputPairs();

    FormControls& controls_;
    PairBook book_;
};

}  // namespace velmora
