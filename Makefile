# The two set-up commands of a fresh machine are `make play` and `make test`.
.PHONY: play live plugin test check fuzz windows dist bench format setup clean

SCENARIO ?= play

setup:
	scripts/setup

play: setup
	cmake --preset release >/dev/null
	cmake --build --preset release --target brimvale-sim
	build/release/brimvale-sim play --scenario $(SCENARIO) $(PLAY_OPTIONS)

# The game in a browser tab: plays in real time and prints the address to open. The plugin plays
# from its shared library, build/release/libbrimvale.so, and a new build of it (`make plugin`,
# from another terminal) is loaded into the running game where it stands.
live: setup
	cmake --preset release >/dev/null
	cmake --build --preset release --target brimvale-sim brimvale_module
	build/release/brimvale-sim live $(LIVE_OPTIONS)

# The plugin's shared library only: the quick rebuild of the live game's edit loop.
plugin:
	cmake --build --preset release --target brimvale_module

test:
	scripts/setup test
	cmake --preset default >/dev/null
	cmake --build --preset default
	ctest --preset default

# The edit loop: builds the quick preset (the test build without the Windows cross-build) and
# runs the tests whose names match T; a failed build fails here, before any test runs.
check: setup
	cmake --preset quick >/dev/null
	cmake --build --preset quick
	ctest --preset quick $(if $(T),-R '$(T)')

# The save file fuzz target for longer than the bounded run of `make test` (FUZZ_SECONDS).
FUZZ_SECONDS ?= 600
fuzz:
	scripts/setup test
	cmake -DSOURCE_DIR=$(CURDIR) -DSECONDS=$(FUZZ_SECONDS) -P cmake/fuzz-run.cmake

windows:
	scripts/setup windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows
	@echo "built build/windows/Brimvale.asi"

# The release: dist/Brimvale-<version>.zip (the DLL, the players' README.txt, LICENSE and
# CHANGELOG.md) and its SHA-256 beside it.
dist:
	scripts/setup windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows --target dist

bench: setup
	cmake --preset release >/dev/null
	cmake --build --preset release --target brimvale_bench
	build/release/brimvale_bench

format:
	find src sim tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf build dist
