// Velmora, web edition: the program's entry. The page's events reach the form
// after main has returned; the module stays alive for them.
#include <emscripten/val.h>

#include "window/web/web_form.h"

int main()
{
    static velmora::web::WebForm form(emscripten::val::global("document"));
    // The moment the form is ready for typing, for the page's timings.
    emscripten::val::global("performance").call<void>("mark", std::string("velmora-ready"));
    return 0;
}
