# Builds both programs for Windows (mingw-w64) and Linux, tests them, and
# shows the main job under Wine.
JOBS := $(shell nproc)
MAKEFLAGS += --no-print-directory
PROGRAMS := follow glyphroots

.PHONY: all deps test-deps dist-deps native windows windows-tests sanitize fuzz test soak bench run dist screenshots clean

SOAK_SECONDS ?= 300

all: native windows

deps:
	@scripts/install-deps.sh

# What only the tests need: make dist never installs it.
test-deps:
	@scripts/install-deps.sh tests

# What the release archive needs, and no more: no Wine, no GoogleTest.
dist-deps:
	@scripts/install-deps.sh dist

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

# The Windows tests as one zip that any Windows PC runs with its
# run-tests.cmd: build/windows/ostrel-tests-<version>-win64.zip.
windows-tests: test-deps windows
	@ls build/windows/ostrel-tests-*-win64.zip

sanitize: deps
	@cmake --preset sanitize >/dev/null
	@cmake --build --preset sanitize -j $(JOBS)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)

# Every test: unit and end-to-end tests of both builds (the Windows ones
# from their zip, under Wine's cmd as Windows runs them), a short soak of
# each, the native tests again under the address and undefined-behaviour
# sanitizers, short fuzz runs, the release archive, glyphroots run by a
# real NSIS installer and a real MSI package, the CI workflow, the
# pictures' script and the documents' links. tests/run_all.sh runs each
# tree's checks beside the next build, and says how long each step took.
test: test-deps
	@sh tests/run_all.sh

# A long soak of both followers: SOAK_SECONDS each.
soak: all
	build/native/tests/soak build/native/follow $(SOAK_SECONDS)
	build/windows/wine-run build/windows/tests/soak.exe build/windows/follow.exe $(SOAK_SECONDS)

bench: all
	python3 bench/bench.py

run: windows
	@scripts/demo.sh

# The release archive: dist/ostrel-companions-<version>-win64.zip and its
# .sha256, signed when SIGN_CERT and SIGN_KEY, or SIGN_PFX, name a key
# (SIGN_PASS_FILE holding its pass phrase), built in a tree of its own with
# no tests. A failed build leaves dist/ as it was. Two at once take turns
# at the one release tree, each from its build to its archive, and the one
# that waits says so. The sources are read before the build and again
# before the archive is named: a change between names it -dirty. Debian's
# own python3, whose python3-cryptography reads the keys.
dist: dist-deps
	@mkdir -p build
	@sh -c 'exec 9> build/release.lock; \
	  flock -n 9 || { echo "make dist: waiting for another make dist to finish"; flock 9 || exit 1; }; \
	  DIST_SOURCES=$$(/usr/bin/python3 scripts/make-dist.py --sources) && export DIST_SOURCES && \
	  cmake --preset release >/dev/null && cmake --build --preset release -j $(JOBS) && \
	  /usr/bin/python3 scripts/make-dist.py build/release dist'

# The README's pictures, drawn by the programs themselves under Wine, into
# docs/images/ (to be committed).
screenshots: test-deps windows
	@sh scripts/screenshots.sh

clean:
	rm -rf build dist
