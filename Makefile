# The README's commands. Each installs what is missing first.
BUILD := build
WINE_RUN := cmake/wine-run.sh
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all deps build demo test bench clean fuzz fuzz-smoke fuzz-build

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake --preset mingw

build: deps $(BUILD)/CMakeCache.txt
	cmake --build --preset mingw -j2

# Runs tolva.exe on a folder of demonstration files and saves a screenshot
# of its results view as build/demo/results.png.
demo: build
	scripts/demo.sh $(BUILD)

test: build
	TOLVA_END_PREFIX_AFTER=1 $(XVFB) ctest --test-dir $(BUILD) --output-on-failure
	$(MAKE) fuzz-smoke

bench: build
	tests/realrar/make-bench-set.sh $(BUILD)
	$(XVFB) $(WINE_RUN) $(BUILD)/bin/tolva_bench.exe

# The package for users: build/dist/tolva.zip with tolva.exe (stripped) and
# the read-me, nothing else.
.PHONY: dist
dist: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j2 --target tolva
	rm -rf $(BUILD)/dist && mkdir -p $(BUILD)/dist/files
	i686-w64-mingw32-strip -o $(BUILD)/dist/files/tolva.exe $(BUILD)/bin/tolva.exe
	cp dist/README.txt $(BUILD)/dist/files/
	cd $(BUILD)/dist/files && zip -q -X ../tolva.zip tolva.exe README.txt
	@echo "$(BUILD)/dist/tolva.zip"

# Native fuzzing (clang, libFuzzer, AddressSanitizer and UBSan) of the parsers
# of outside input: `make fuzz` runs every target FUZZ_SECONDS seconds and
# prints executions and coverage per target; `make fuzz-smoke` runs each for a
# few seconds after every kept input once, and is part of `make test`.
FUZZ_BUILD ?= $(BUILD)/fuzz
FUZZ_SECONDS ?= 60

fuzz-build: deps
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ_BUILD) -j2

fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	FUZZ_TOTAL_SECONDS=24 scripts/fuzz.sh $(FUZZ_BUILD) 5 regress

clean:
	rm -rf $(BUILD)
