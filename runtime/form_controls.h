// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// What the commands do to the window's controls, and nothing more. Each front
// end implements it on its toolkit's controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/error_report.h"

namespace velmora {

class FormControls {
public:
    virtual ~FormControls() = default;

    // Combo1: the edit field where numbers are typed, and its list of entries.
    virtual std::u16string ComboText() const = 0;
    virtual void SetComboText(std::u16string_view text) = 0;
    // Gives the edit field the keyboard focus with its whole text selected.
    virtual void SelectComboText() = 0;
    virtual void AddComboItem(std::u16string_view text) = 0;
    virtual void ClearComboItems() = 0;

    // List1: the hidden list of complements.
    virtual void AddListItem(std::u16string_view text) = 0;
    // Replaces the whole list at once; an empty list empties it.
    virtual void SetListItems(const std::vector<std::u16string>& texts) = 0;

    // Text1(0): the report box.
    virtual void SetReportText(std::u16string_view text) = 0;

    // Shows the report until the user dismisses it. Whether this returns at
    // once or once the report is dismissed is the toolkit's: the commands do
    // not wait for the user's answer.
    virtual void ReportError(const ErrorReport& report) = 0;
};

}  // namespace velmora
