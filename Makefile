# The README's commands. Each installs what is missing first.
BUILD := build
WINE_RUN := cmake/wine-run.sh
XVFB := xvfb-run -a -s "-screen 0 1024x768x24"

.PHONY: all deps build demo test bench clean

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
	$(XVFB) ctest --test-dir $(BUILD) --output-on-failure

bench: build
	$(XVFB) $(WINE_RUN) $(BUILD)/bin/tolva_bench.exe

clean:
	rm -rf $(BUILD)
