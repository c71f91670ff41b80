// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// The web page's form as markup and style, made from the window's tables when
// the page is built (page_markup.cpp), so that the browser shows the form as
// soon as it reads the page; the module then binds to the elements
// (web_form.cpp). Standard C++, texts in UTF-8.
#pragma once

#include <string>

namespace velmora::web {

// The ids the page's elements have, for the module that binds to them.
inline constexpr char kFieldId[] = "Combo1";
inline constexpr char kEntriesId[] = "Combo1_list";
inline constexpr char kReportDialogId[] = "report";

// The document's title: the window's, HTML-escaped.
std::string PageTitle();

// The form's style from the tables: its font and colours everywhere, its
// size and every control's place where the page is at least as wide as the
// form (narrower, velmora.css lays the controls out for touch).
std::string FormStyle();

// The form's elements in tab order, then the error report's dialog.
std::string FormMarkup();

}  // namespace velmora::web
