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

# The SHA-256 digest of a text in base64, as a Content Security Policy
# names an inline script or style sheet: 32 bytes, in ten groups of three
# and a last of two, whose fourth digit is the padding.
function(sha256_base64 text out)
  string(SHA256 hex "${text}")
  set(digits "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  set(base64 "")
  foreach(at RANGE 0 60 6)
    string(SUBSTRING "${hex}00" ${at} 6 group)
    math(EXPR bits "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR digit "(${bits} >> ${shift}) & 63")
      string(SUBSTRING "${digits}" ${digit} 1 digit)
      string(APPEND base64 "${digit}")
    endforeach()
  endforeach()
  string(SUBSTRING "${base64}" 0 43 base64)
  set(${out} "${base64}=" PARENT_SCOPE)
endfunction()

# A page's Content Security Policy: nothing but what the page uses. Its
# inline scripts and style sheet are allowed by their hashes, the module's
# compilation by 'wasm-unsafe-eval'; `scripts` adds the scripts' other
# sources, `sources` opens the rest. The build stops at an element's own
# style or event handler, which would need 'unsafe-inline', and at a script
# or style element with attributes, which this does not hash.
function(page_policy page scripts sources out)
  if(scripts)
    set(scripts " ${scripts}")
  endif()
  set(styles "")
  set(markup "")
  string(REGEX MATCH "<(script|style)[^a-z]" tag "${page}")
  while(tag)
    string(FIND "${page}" "${tag}" at)
    string(SUBSTRING "${page}" 0 ${at} before)
    string(APPEND markup "${before}")
    set(kind ${CMAKE_MATCH_1})
    if(NOT tag STREQUAL "<${kind}>")
      message(FATAL_ERROR "A <${kind}> with attributes: only plain inline ones are allowed, by their hashes")
    endif()
    string(LENGTH "${tag}" length)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${page}" ${at} -1 page)
    string(FIND "${page}" "</${kind}>" end)
    string(SUBSTRING "${page}" 0 ${end} text)
    sha256_base64("${text}" hash)
    string(APPEND ${kind}s " 'sha256-${hash}'")
    string(SUBSTRING "${page}" ${end} -1 page)
    string(REGEX MATCH "<(script|style)[^a-z]" tag "${page}")
  endwhile()
  string(REGEX MATCH "[ \t\n](style|on[a-z]+)=" attribute "${markup}${page}")
  if(attribute)
    message(FATAL_ERROR "An element's own${attribute}: no policy without 'unsafe-inline' allows it")
  endif()
  set(${out} "default-src 'none'; script-src${scripts} 'wasm-unsafe-eval'; style-src${styles}; ${sources}; \
object-src 'none'; base-uri 'none'; form-action 'none'" PARENT_SCOPE)
endfunction()

# A page from the template, with its head's links, its scripts, and its
# policy's other sources of scripts and of the rest.
function(write_page path head script scripts sources)
  set(page "${kPage}")
  string(REPLACE "@PAGE_HEAD@" "${head}" page "${page}")
  string(REPLACE "@PAGE_TITLE@" "${kForm_TITLE}" page "${page}")
  string(REPLACE "@PAGE_STYLE@" "${kStyle}" page "${page}")
  string(REPLACE "@FORM_STYLE@" "${kForm_STYLE}\n" page "${page}")
  string(REPLACE "@FORM_MARKUP@" "${kForm_FORM}\n" page "${page}")
  string(REPLACE "@PAGE_SCRIPT@" "${script}" page "${page}")
  page_policy("${page}" "${scripts}" "${sources}" policy)
  string(REPLACE "@PAGE_POLICY@" "${policy}" page "${page}")
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
</script>"
  "'self'" "img-src 'self'; connect-src 'self'; manifest-src 'self'; worker-src 'self'")

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
# and was bound later. Emscripten 3.1.6 fetches the embedded .wasm from its
# data address before decoding it itself, hence connect-src data:.
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
  "<script>\nvar Module = { onAbort: velmoraFailed };\n${module}</script>\n<!--\n${licences}-->"
  "" "img-src data:; connect-src data:")
