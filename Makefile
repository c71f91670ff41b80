# Velmora: set-up, build, test and run. See README.md.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_TYPE = -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build windows test run screenshots clean

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

test:
	@sh scripts/install-deps.sh build test windows
	@$(MAKE) --no-print-directory build windows
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	@ctest --test-dir $(WINDOWS_BUILD) --output-on-failure

run: build
	@$(BUILD)/window/velmora

# The pictures in the README.
screenshots: build windows
	@sh scripts/screenshot.sh docs/velmora-qt.png 1
	@PROGRAM=$(WINDOWS_BUILD)/window/velmora.exe LAUNCHER="sh scripts/wine-run.sh" \
	    WINDOW_CLASS=velmora.exe sh scripts/screenshot.sh docs/velmora-windows.png 1

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD)
