// SPDX-FileCopyrightText: 2026 the Velmora developers
// SPDX-License-Identifier: MIT
// Velmora, web edition: the program's entry. The page's events reach the form
// after main has returned; the module stays alive for them.
#include <emscripten/val.h>

#include "window/web/web_form.h"

int main()
{
    using emscripten::val;
    static velmora::web::WebForm form(val::global("document"));
    // The moment the form is ready for typing, for the page's timings.
    val::global("performance").call<void>("mark", std::string("velmora-ready"));
    // The clicks the page held while the module was on its way.
    const val bound = val::global("velmoraBound");
    if (!bound.isUndefined()) {
        bound();
    }
    return 0;
}
