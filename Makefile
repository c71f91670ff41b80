# Velmora: set-up, build, test and run. See README.md.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
SANITIZE_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_TYPE = -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build windows sanitize fuzz test bench bench-windows package run screenshots clean

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

# Every test: the Qt edition, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzzers for a bounded number of inputs, and
# the Windows edition under Wine.
test:
	@sh scripts/install-deps.sh build test windows fuzz bench package
	@cmake -S . -B $(BUILD) $(CMAKE_TYPE) -DVELMORA_BENCH=ON >/dev/null  # the benchmarks build too
	@$(MAKE) --no-print-directory build windows sanitize fuzz
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(FUZZ_BUILD) --output-on-failure -j $(JOBS)
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

# The Windows edition's figures, under Wine on a virtual display at 96 dpi.
bench-windows: windows
	@VELMORA_SCALE=1 sh scripts/wine-run.sh $(WINDOWS_BUILD)/bench/win32/bench_win32_window.exe

# The Debian package: $(BUILD)/velmora_1.00_amd64.deb
package: build
	@sh scripts/install-deps.sh package
	@cd $(BUILD) && cpack -G DEB

run: build
	@$(BUILD)/window/velmora

# The pictures in the README.
screenshots: build windows
	@sh scripts/screenshot.sh docs/velmora-qt.png 1
	@PROGRAM=$(WINDOWS_BUILD)/window/velmora.exe LAUNCHER="sh scripts/wine-run.sh" \
	    WINDOW_CLASS=velmora.exe sh scripts/screenshot.sh docs/velmora-windows.png 1

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
