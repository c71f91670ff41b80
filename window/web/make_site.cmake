# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Makes the web edition's two outputs from the linked module (run by CMake
# with -P; see CMakeLists.txt): the folder SITE and the page SINGLE_PAGE.
# Every file the page uses is listed once, in kSiteFiles; beside them, the
# licences of Velmora and of the code compiled into it (LICENSES, the
# texts given), which the page does not need.

set(kSiteFiles index.html velmora.js velmora.wasm manifest.webmanifest
    velmora.svg velmora-192.png velmora-512.png)

file(MAKE_DIRECTORY ${SITE})
file(COPY ${MODULE}/velmora.js ${MODULE}/velmora.wasm DESTINATION ${SITE})
file(COPY ${ICONS}/velmora.svg ${ICONS}/velmora-192.png ${ICONS}/velmora-512.png DESTINATION ${SITE})
set(licences "")
foreach(licence IN LISTS LICENSES)
  get_filename_component(name ${licence} NAME_WE)
  configure_file(${licence} ${SITE}/${name}.txt COPYONLY)
  file(READ ${licence} text)
  string(APPEND licences "${text}\n")
endforeach()
set(VELMORA_NAME ${NAME})
configure_file(${SOURCE}/manifest.webmanifest.in ${SITE}/manifest.webmanifest @ONLY)

file(READ ${SOURCE}/page.html.in kPage)
file(READ ${SOURCE}/velmora.css kStyle)

# The form itself, from the window's tables: the page shows it as soon as it
# is read, and the module binds to it once it is there.
foreach(part title style form)
  execute_process(COMMAND ${NODE} --no-experimental-fetch ${MARKUP} ${part}
                  OUTPUT_VARIABLE markup RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "page_markup ${part} failed: ${failed}")
  endif()
  string(TOUPPER "${part}" part)
  string(STRIP "${markup}" kForm_${part})
endforeach()

# A page from the template, with its head's links and its scripts.
function(write_page path head script)
  set(page "${kPage}")
  string(REPLACE "@PAGE_HEAD@" "${head}" page "${page}")
  string(REPLACE "@PAGE_TITLE@" "${kForm_TITLE}" page "${page}")
  string(REPLACE "@PAGE_STYLE@" "${kStyle}" page "${page}")
  string(REPLACE "@FORM_STYLE@" "${kForm_STYLE}\n" page "${page}")
  string(REPLACE "@FORM_MARKUP@" "${kForm_FORM}\n" page "${page}")
  string(REPLACE "@PAGE_SCRIPT@" "${script}" page "${page}")
  file(WRITE ${path} "${page}")
endfunction()

# The folder's page: once the form is painted, the module beside it, fetched
# and compiled as it streams in (where the host serves it as
# application/wasm; otherwise fetched whole, then compiled), and its loader,
# which instantiates and starts it; the service worker once the page is
# there. Nothing in the page's head asks for either: on a first visit, even
# a preload link there keeps the form from being ready as soon on two cores.
write_page(${SITE}/index.html
"<link rel=\"manifest\" href=\"manifest.webmanifest\">
<link rel=\"icon\" href=\"velmora.svg\" type=\"image/svg+xml\">
<link rel=\"apple-touch-icon\" href=\"velmora-192.png\">"
"<script>
var Module = (() => {
    let compiled;
    const start = () => {
        if (typeof WebAssembly !== \"object\") {
            velmoraFailed();
            return;
        }
        const fetched = () => fetch(\"velmora.wasm\", { credentials: \"same-origin\" });
        compiled = (WebAssembly.compileStreaming ? WebAssembly.compileStreaming(fetched()) : Promise.reject())
            .catch(() => fetched().then((response) => response.ok ? response.arrayBuffer() : Promise.reject())
                .then((bytes) => WebAssembly.compile(bytes)));
        compiled.catch(velmoraFailed);
        const loader = document.createElement(\"script\");
        loader.src = \"velmora.js\";
        loader.onerror = velmoraFailed;
        document.body.append(loader);
    };
    // After the first paint; in a hidden tab, which paints nothing, at once.
    if (document.visibilityState === \"hidden\") {
        start();
    } else {
        requestAnimationFrame(() => setTimeout(start));
    }
    return {
        instantiateWasm(imports, receive) {
            compiled.then((module) => WebAssembly.instantiate(module, imports)
                .then((instance) => receive(instance, module)))
                .catch(velmoraFailed);
            return {};
        },
        onAbort: velmoraFailed,
    };
})();
</script>
<script>
if (\"serviceWorker\" in navigator) {
    addEventListener(\"load\", () => navigator.serviceWorker.register(\"sw.js\"));
}
</script>")

# The service worker's cache is named after the files' contents.
set(files "\"./\"")
set(hashes "")
foreach(file IN LISTS kSiteFiles)
  string(APPEND files ", \"${file}\"")
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 hash "${hashes}")
string(SUBSTRING ${hash} 0 16 hash)
set(SITE_CACHE "velmora-${hash}")
set(SITE_FILES "${files}")
configure_file(${SOURCE}/sw.js.in ${SITE}/sw.js @ONLY)

# The self-contained page: the module with the .wasm inside it, and the icon
# as a data address. The module runs as the page is read: from disk, the
# page was painted no sooner when the module waited for the first paint,
# and was bound later.
file(READ ${MODULE}/velmora-single.js module)
string(FIND "${module}" "</script" end)
if(NOT end EQUAL -1)
  message(FATAL_ERROR "velmora-single.js holds </script and cannot be embedded as it is")
endif()
file(READ ${ICONS}/velmora.svg icon)
foreach(pair "%;%25" "#;%23" "\";%22" "<;%3C" ">;%3E" "\n;%0A")
  list(GET pair 0 from)
  list(GET pair 1 to)
  string(REPLACE "${from}" "${to}" icon "${icon}")
endforeach()
string(FIND "${licences}" "-->" end)
if(NOT end EQUAL -1)
  message(FATAL_ERROR "The licences hold --> and cannot be embedded in a comment as they are")
endif()
write_page(${SINGLE_PAGE}
  "<link rel=\"icon\" href=\"data:image/svg+xml,${icon}\" type=\"image/svg+xml\">"
  "<script>\nvar Module = { onAbort: velmoraFailed };\n${module}</script>\n<!--\n${licences}-->")
