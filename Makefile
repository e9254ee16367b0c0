# Front door: `make run` shows the saver, `make test` runs every test layer.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory

# The platforms' presets, in the order `make test` runs them, and for each the command its tests
# run under (their display, Wine), the script that shows its saver and its benchmark.
PRESETS = linux windows
session.linux = scripts/with-x11
run.linux = scripts/run-saver-linux
bench.linux = bench/run-linux bench/run-wayland
session.windows = scripts/with-wine
run.windows = scripts/run-saver
bench.windows = bench/run

.PHONY: all setup native $(PRESETS) deb run test test-native test-fuzz $(PRESETS:%=test-%) fuzz lint coverage clean format

# PLATFORM=linux: `make run` shows the native Linux saver instead of Tolvenar.scr under Wine.
PLATFORM ?= windows

all: native $(PRESETS)

setup:
	@scripts/setup

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

$(PRESETS): setup
	@cmake --preset $@ >/dev/null
	@cmake --build --preset $@ -j $(JOBS)

# The Debian package build/deb/tolvenar_<version>_<arch>.deb, built with debhelper on a copy of the
# sources in build/deb/ (packaging/build-deb).
deb: setup
	@JOBS=$(JOBS) packaging/build-deb

# Shows the saver (ARGS=/c for the settings dialog; with PLATFORM=linux the native saver, ARGS as
# it takes them). Without a display it runs under Xvfb and saves screenshots into build/screenshots/.
run: $(PLATFORM)
	@$(run.$(PLATFORM)) $(ARGS)

test-native: native
	@ctest --preset native -j $(JOBS)

# Every fuzz target over its corpus and then for a few seconds; `make fuzz` runs each for 5 minutes.
test-fuzz: setup
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@ctest --preset fuzz -j $(JOBS)

fuzz: setup
	@cmake --preset fuzz -DFUZZ_SECONDS=$(or $(FUZZ_SECONDS),300) >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@ctest --preset fuzz -j $(JOBS) --timeout 0
	@cmake --preset fuzz -DFUZZ_SECONDS=0 >/dev/null

$(PRESETS:%=test-%): test-%: %
	@$(session.$*) ctest --preset $*

test: test-native test-fuzz $(PRESETS:%=test-%)

# Static checks of the core and the back ends: clang-tidy (.clang-tidy) over each host-built one,
# and cppcheck, both must be clean.
lint: native $(filter-out windows,$(PRESETS))
	@scripts/lint

# Line coverage of the core by the native tests (gcovr), written to build/coverage/.
coverage: setup
	@cmake -S . -B build/coverage -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=--coverage >/dev/null
	@cmake --build build/coverage -j $(JOBS)
	@ctest --test-dir build/coverage -j $(JOBS) >/dev/null
	@mkdir -p build/coverage/report
	@gcovr -r . --filter 'src/' --exclude '.*/win32/.*' --exclude 'src/main.cpp' build/coverage \
	  --html-details build/coverage/report/index.html --print-summary

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

# Frame rate and start-up of the saver against a reference loop, under Wine + Xvfb (bench/run) and
# natively on llvmpipe (bench/run-linux; bench/run-wayland: Wayland against X11): bench/RESULTS.md,
# a section each. PLATFORM=windows or PLATFORM=linux on the command line runs only that one.
BENCH_RUNS = $(if $(filter file,$(origin PLATFORM)),$(foreach p,$(PRESETS),$(bench.$(p))),$(bench.$(PLATFORM)))
.PHONY: bench
bench:
	@for b in $(BENCH_RUNS); do $$b || exit 1; done

clean:
	rm -rf build
