# Front door: make run, make test. Both install what they need first.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
export ZEPHTAB_WINE_DIR := $(abspath $(BUILD))/wine

.PHONY: all deps build run test lint clean format icons bench dist

all: build

deps:
	@tools/scripts/install-deps.sh

$(BUILD)/native/Makefile:
	cmake -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)

$(BUILD)/win32/Makefile:
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DZEPHTAB_WINE_DIR=$(ZEPHTAB_WINE_DIR) $(CMAKE_FLAGS)

$(BUILD)/win64/Makefile:
	cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-mingw.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DZEPHTAB_WINE_DIR=$(ZEPHTAB_WINE_DIR) $(CMAKE_FLAGS)

build: deps $(BUILD)/native/Makefile $(BUILD)/win32/Makefile $(BUILD)/win64/Makefile
	cmake --build $(BUILD)/native -j $(JOBS)
	cmake --build $(BUILD)/win32 -j $(JOBS)
	cmake --build $(BUILD)/win64 -j $(JOBS)

# Formatting, the folder include graph and clang-tidy; first, so that a
# misformatted file fails before the long tests run.
lint: deps $(BUILD)/native/Makefile $(BUILD)/win32/Makefile
	@tools/scripts/lint.sh $(BUILD)

test: lint build
	@tools/scripts/run-tests.sh $(BUILD)

# Release packages in dist/: the portable zips of both builds and the
# installer of the 32-bit one, made from stripped copies of the programs.
dist: build
	rm -f dist/zephtab-*
	cmake --build $(BUILD)/win32 --target dist
	cmake --build $(BUILD)/win64 --target dist
	@for file in dist/zephtab-*; do printf '%10d bytes  %s\n' $$(stat -c %s $$file) $$file; done

run: build
	@tools/scripts/run-demo.sh $(BUILD)

icons: deps $(BUILD)/native/Makefile
	cmake --build $(BUILD)/native --target icongen
	tools/icongen/check-icons.sh $(BUILD)/native/icongen src/resources/icons --update

# The native decision benchmarks, then open, steps and cancel with many windows
# under Wine, then the sizes of the release programs. Reports; never fails on a figure.
BENCH_PROGRAMS := zephtab zephtab-config zephtab-settings zephtab_switch_bench screen_reader_listener
bench: deps $(BUILD)/bench/Makefile $(BUILD)/win32/Makefile $(BUILD)/win64/Makefile
	cmake --build $(BUILD)/bench -j $(JOBS) --target zephtab_bench
	cmake --build $(BUILD)/win32 -j $(JOBS) --target $(BENCH_PROGRAMS)
	cmake --build $(BUILD)/win64 -j $(JOBS) --target $(BENCH_PROGRAMS)
	@tools/scripts/run-bench.sh $(BUILD)

$(BUILD)/bench/Makefile:
	cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	-python3 tools/wine/winerun.py --state-dir $(ZEPHTAB_WINE_DIR) stop
	rm -rf $(BUILD)
