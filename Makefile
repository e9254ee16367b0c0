# Front door: `make run` shows the saver, `make test` runs every test layer.
JOBS ?= $(shell nproc)

.PHONY: all setup native windows run test test-native test-windows clean format

all: native windows

setup:
	@scripts/setup

native: setup
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

windows: setup
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)

# Shows the saver (ARGS=/c for the settings dialog). Without a display it runs under Xvfb and
# saves screenshots into build/screenshots/.
run: windows
	@scripts/run-saver $(ARGS)

test-native: native
	@ctest --preset native -j $(JOBS)

test-windows: windows
	@scripts/with-wine ctest --preset windows

test: test-native test-windows

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

# Frame rate and start-up of the saver against a reference loop under Wine + Xvfb: bench/RESULTS.md.
.PHONY: bench
bench:
	@bench/run

clean:
	rm -rf build
