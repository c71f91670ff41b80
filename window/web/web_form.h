// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The web edition of the main window: binds to the page's elements, which
// the page brought made from the window's tables (form_markup.h), through the
// DOM's own interface (embind's emscripten::val).
#pragma once

#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <vector>

#include "logic/commands.h"
#include "window/form_tables.h"

namespace velmora::web {

class WebForm final : public FormControls {
public:
    // Binds to the form that the document holds and handles its events from
    // then on. One form to a page.
    explicit WebForm(emscripten::val document);
    WebForm(const WebForm&) = delete;
    WebForm& operator=(const WebForm&) = delete;
    ~WebForm() override;

    const PairBook& Book() const { return commands_.Book(); }

    // The page's events, handed on by the handlers that the form registers.
    void OnCommand1Click(int index) { commands_.Command1Click(index); }
    void OnFieldKey(emscripten::val event);
    void OnFieldBlur() { CloseList(); }
    void OnDropButton(emscripten::val event);
    void OnListPointer(emscripten::val event);
    void OnListClick(emscripten::val event);
    void OnReportClosed() { SelectComboText(); }

private:
    emscripten::val Element(const char* tag) const;
    emscripten::val ById(const std::string& id) const;

    // The number field's drop-down list.
    void OpenList();
    void CloseList();
    void MoveActive(int step);
    void SetActive(int index);
    void Choose(emscripten::val option);

    // FormControls: the commands reach the page through these.
    std::u16string ComboText() const override;
    void SetComboText(std::u16string_view text) override;
    void SelectComboText() override;
    void AddComboItem(std::u16string_view text) override;
    void ClearComboItems() override;
    void AddListItem(std::u16string_view text) override;
    void SetListItems(const std::vector<std::u16string>& texts) override;
    void SetReportText(std::u16string_view text) override;
    void ReportError(const ErrorReport& report) override;

    emscripten::val document_;
    emscripten::val form_;
    emscripten::val field_;        // Combo1's edit field
    emscripten::val entries_;      // Combo1's drop-down list
    emscripten::val optionModel_;  // one entry of it, cloned for each new one
    emscripten::val complements_;  // List1
    emscripten::val report_;       // Text1(0)
    emscripten::val dialog_;       // the error report
    int entryCount_ = 0;
    int active_ = -1;  // the entry marked in the open list, or none
    bool listOpen_ = false;
    Commands commands_;
};

}  // namespace velmora::web
