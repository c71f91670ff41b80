# SPDX-FileCopyrightText: 2026 the Velmora developers
# SPDX-License-Identifier: MIT
# Velmora: set-up, build, test and run. See README.md.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
LIBCXX_BUILD ?= build-libcxx
WEB_BUILD ?= build-web
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_TYPE = -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build windows web web-test-tools serve libcxx sanitize fuzz test bench bench-web bench-windows package release run screenshots clean

all: build

setup:
	@sh scripts/install-deps.sh build

build: setup
	@cmake -S . -B $(BUILD) $(CMAKE_TYPE) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The Windows edition, cross-compiled: $(WINDOWS_BUILD)/window/velmora.exe
windows:
	@sh scripts/install-deps.sh windows
	@cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The web edition, compiled to WebAssembly with Emscripten. Debian's em++
# finds its JavaScript modules through NODE_PATH.
EMSCRIPTEN_ENV = NODE_PATH=$${NODE_PATH:+$$NODE_PATH:}/usr/share/nodejs
web:
	@sh scripts/install-deps.sh web
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The web edition: $(WEB_BUILD)/site/ (for a web host) and $(WEB_BUILD)/velmora.html (one file)"

# The web folder on 127.0.0.1 (PORT=... to choose the port).
PORT ?= 8000
serve: web
	@node scripts/serve-web.mjs $(WEB_BUILD)/site $(PORT)

# What drives the browsers in the web tests and benchmarks, as pinned in
# package-lock.json: puppeteer-core (Chromium and Firefox) and
# selenium-webdriver (WebKit); they use the system's browsers.
web-test-tools: node_modules/.package-lock.json
	@sh scripts/install-deps.sh webtest
node_modules/.package-lock.json: package.json package-lock.json
	@sh scripts/install-deps.sh webtest
	@PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund

# The core with Clang and libc++, the standard library of macOS, for the
# checks that need no Qt (Debian's Qt is built against libstdc++).
libcxx:
	@sh scripts/install-deps.sh libcxx
	@CC=clang CXX=clang++ cmake -S . -B $(LIBCXX_BUILD) $(CMAKE_TYPE) -DVELMORA_QT=OFF \
	    -DCMAKE_CXX_FLAGS=-stdlib=libc++ >/dev/null
	@cmake --build $(LIBCXX_BUILD) -j $(JOBS)

# Every test: the Qt edition, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzzers for a bounded number of inputs, and
# the Windows edition under Wine, the web edition, and the core built with
# Clang and libc++; each build's logic must answer alike.
test:
	@sh scripts/install-deps.sh build test windows web webtest libcxx fuzz bench package
	@cmake -S . -B $(BUILD) $(CMAKE_TYPE) -DVELMORA_BENCH=ON >/dev/null  # the benchmarks build too
	@$(MAKE) --no-print-directory build windows web web-test-tools libcxx sanitize fuzz
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(LIBCXX_BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(WEB_BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(WINDOWS_BUILD) --output-on-failure

sanitize: setup
	@cmake -S . -B $(SANITIZE_BUILD) $(CMAKE_TYPE) -DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)

fuzz:
	@sh scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_TYPE) -DVELMORA_FUZZ=ON \
	    -DVELMORA_QT=OFF -DVELMORA_SANITIZE=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Speed and memory figures (they print figures, they assert nothing).
bench: setup
	@sh scripts/install-deps.sh bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DVELMORA_BENCH=ON \
	    -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@$(BENCH_BUILD)/bench/bench_pair_book
	@$(BENCH_BUILD)/bench/bench_window
	@$(BENCH_BUILD)/bench/bench_startup
	@$(MAKE) --no-print-directory bench-windows
	@$(MAKE) --no-print-directory bench-web

# The Windows edition's figures, under Wine on a virtual display at 96 dpi.
bench-windows: windows
	@VELMORA_SCALE=1 sh scripts/wine-run.sh $(WINDOWS_BUILD)/bench/win32/bench_win32_window.exe

# The web edition's figures, in headless Chromium, with Lighthouse's scores
# (pinned in bench/package-lock.json).
bench-web: web web-test-tools bench/node_modules/.package-lock.json
	@node bench/bench_web.mjs $(WEB_BUILD)/site $(WEB_BUILD)/velmora.html
bench/node_modules/.package-lock.json: bench/package.json bench/package-lock.json
	@npm ci --prefix bench --no-audit --no-fund

# The Debian package, built from debian/ by dpkg-buildpackage with its
# tests, of this tree's files, and checked: $(BUILD)/debian-package/velmora_1.00_amd64.deb
package:
	@sh scripts/install-deps.sh build test package
	@sh tests/check_package.sh . scripts/screenshot.sh $(BUILD)/debian-package

# Every release file of the commit checked out, the same bytes from every
# build of it, in dist/ (scripts/release.sh says which).
release:
	@sh scripts/install-deps.sh build windows web package release
	@sh scripts/release.sh

run: build
	@$(BUILD)/window/velmora

# The pictures in the README and docs/ (the Qt window also zoomed to 200 %).
screenshots: build windows web web-test-tools
	@sh scripts/screenshot.sh docs/velmora-qt.png 1
	@KEYS="ctrl+plus ctrl+plus ctrl+plus ctrl+plus ctrl+plus" sh scripts/screenshot.sh docs/velmora-qt-zoom.png 1
	@node scripts/screenshot-web.mjs $(WEB_BUILD)/site docs/velmora-web.png
	@node scripts/screenshot-web.mjs $(WEB_BUILD)/site docs/velmora-web-phone.png 1 360x640
	@PROGRAM=$(WINDOWS_BUILD)/window/velmora.exe LAUNCHER="sh scripts/wine-run.sh" \
	    WINDOW_CLASS=velmora.exe sh scripts/screenshot.sh docs/velmora-windows.png 1

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) \
	    $(LIBCXX_BUILD) $(WEB_BUILD) build-release dist
