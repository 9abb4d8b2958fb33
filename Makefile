# The two set-up commands of a fresh machine are `make play` and `make test`.
.PHONY: play test windows bench format setup clean

SCENARIO ?= campaign

setup:
	scripts/setup

play: setup
	cmake --preset release >/dev/null
	cmake --build --preset release --target brimvale-sim
	build/release/brimvale-sim $(SCENARIO)

test:
	scripts/setup test
	cmake --preset default >/dev/null
	cmake --build --preset default
	ctest --preset default

windows:
	scripts/setup windows
	cmake --preset windows >/dev/null
	cmake --build --preset windows
	@echo "built build/windows/Brimvale.asi"

bench: setup
	cmake --preset release >/dev/null
	cmake --build --preset release --target brimvale_bench
	build/release/brimvale_bench

format:
	find src sim tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf build
