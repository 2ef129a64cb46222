# Tallyforge: `make run` starts the worksheet, `make test` runs every test.
# Both install what is missing first (scripts/install-deps).
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test bench screenshot clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program alone: the tests' extra builds (sanitizers, fuzzer) are not waited for.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tallyforge
	@$(BUILD)/src/tallyforge

test: build
	@cd $(BUILD) && ctest --output-on-failure --timeout 300

bench: build
	@scripts/bench $(BUILD)

screenshot: build
	@scripts/screenshot $(BUILD)

clean:
	rm -rf $(BUILD)
