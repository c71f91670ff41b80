// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Prints the parts of the web page that the window's tables make, one for
// each argument: title, style or form (see form_markup.h). Run with node
// while the page is built.
#include <cstdio>
#include <string_view>

#include "window/web/form_markup.h"

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view part = argv[i];
        const std::string text = part == "title" ? velmora::web::PageTitle()
                                 : part == "style" ? velmora::web::FormStyle()
                                 : part == "form"  ? velmora::web::FormMarkup()
                                                   : std::string();
        if (text.empty()) {
            std::fprintf(stderr, "page_markup: no such part: %s\n", argv[i]);
            return 2;
        }
        std::fputs(text.c_str(), stdout);
    }
    return 0;
}
