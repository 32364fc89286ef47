# Builds both programs for Windows (mingw-w64) and Linux, tests them, and
# shows the main job under Wine.
JOBS := $(shell nproc)
MAKEFLAGS += --no-print-directory
PROGRAMS := follow glyphroots

.PHONY: all deps native windows test run clean

all: native windows

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)
	@mkdir -p dist/linux
	@for p in $(PROGRAMS); do cp build/native/$$p dist/linux/; done

windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j $(JOBS)
	@mkdir -p dist/windows
	@for p in $(PROGRAMS); do cp build/windows/$$p.exe dist/windows/; done

test: all
	ctest --preset native
	ctest --preset windows

run: windows
	@scripts/demo.sh

clean:
	rm -rf build dist
