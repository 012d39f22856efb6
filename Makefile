# Thin wrappers around CMake. 'make', 'make run' and 'make test' install what is missing
# first (Debian; SKIP_DEPS=1 skips that on other systems).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
DEPS = $(if $(SKIP_DEPS),@true,@scripts/install-deps)

.PHONY: all deps configure build run test sanitize bench fuzz deb clean

all: build

deps:
	$(DEPS)

# CMake's own messages stay visible: a missing package is named there.
configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) --log-level=WARNING

build: configure
	@cmake --build $(BUILD) -j$(JOBS) -- --no-print-directory

# Only the program itself is built. It keeps the user's files in ~/.local/share/orvine (as an
# installed one does), so 'make clean' never touches them.
run: configure
	@cmake --build $(BUILD) -j$(JOBS) --target orvine -- --no-print-directory
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$QT_QPA_PLATFORM" ]; then \
	  echo "make run: there is no display here (DISPLAY and WAYLAND_DISPLAY are not set)."; \
	  echo "  Try it in a virtual one:  xvfb-run -a -s '-screen 0 1280x800x24' $(BUILD)/bin/orvine"; \
	  echo "  (Debian: apt-get install xvfb xauth), or run 'make run' from a desktop session."; \
	else $(BUILD)/bin/orvine; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The same tests on a build with AddressSanitizer (LeakSanitizer included) and
# UndefinedBehaviorSanitizer, in build-sanitize/; any finding aborts the program, which fails its
# test. Qt on the offscreen platform leaks nothing that LeakSanitizer reports, so no
# suppressions are needed.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
sanitize:
	@$(MAKE) --no-print-directory build BUILD=$(SANITIZE_BUILD) \
	  CMAKE_FLAGS="$(CMAKE_FLAGS) -DORVINE_SANITIZE=ON -DORVINE_BUILD_EXTRAS=OFF"
	cd $(SANITIZE_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j$(JOBS)

bench:
	@$(if $(SKIP_DEPS),true,scripts/install-deps bench)
	@$(MAKE) --no-print-directory build
	@bench/run-all $(BUILD)

fuzz:
	@$(if $(SKIP_DEPS),true,scripts/install-deps fuzz)
	@scripts/fuzz

# The source and binary packages built with debhelper from a copy of the sources in build-deb/,
# where the .dsc, .tar.xz, .deb, .buildinfo and .changes files land; lintian (pedantic) checks
# both and fails on any error or warning.
deb:
	@$(if $(SKIP_DEPS),true,scripts/install-deps deb)
	@scripts/make-deb build-deb

# Build folders only. The user's places live outside them; an old build folder that still
# holds a settings file beside the program is left for its owner to empty.
clean:
	@for d in $(BUILD)/bin $(BUILD)/src/app; do \
	  if [ -e "$$d/vantorff.ini" ] && ! { cmp -s "$$d/vantorff.ini" data/vantorff.ini && \
	                                     cmp -s "$$d/places.txt" data/places.txt; }; then \
	    echo "make clean: $$d holds a settings file and place list of your own;"; \
	    echo "  move them to ~/.local/share/orvine/ (or delete them) first."; \
	    exit 1; \
	  fi; \
	done
	rm -rf $(BUILD) build-fuzz build-deb $(SANITIZE_BUILD)
