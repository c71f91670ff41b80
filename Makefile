# Velmora: set-up, build, test and run. See README.md.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all setup build test run clean

all: build

setup:
	@sh scripts/install-deps.sh build

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: setup
	@sh scripts/install-deps.sh build test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

run: build
	@if [ -x $(BUILD)/window/velmora ]; then $(BUILD)/window/velmora; \
	 else echo "The window is not built yet: only the pair logic and its tests exist."; fi

clean:
	rm -rf $(BUILD)
