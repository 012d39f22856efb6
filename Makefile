# Thin wrappers around CMake. 'make run' and 'make test' install what is missing first.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test bench fuzz clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS) -- --no-print-directory

run: build
	$(BUILD)/src/app/orvine

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench:
	@scripts/install-deps bench
	@$(MAKE) --no-print-directory build
	@bench/run-all $(BUILD)

fuzz:
	@scripts/install-deps fuzz
	@scripts/fuzz

clean:
	rm -rf $(BUILD) build-fuzz
