# The two commands a newcomer needs: `make demo` and `make test`. Both install
# what is missing first (Debian 12, as root or with sudo).
SHELL := /bin/bash
JOBS ?= 2
FUZZ_SECONDS ?= 30
WINE_RUN := scripts/wine-run

.PHONY: demo test deps native asan tsan windows wine-tests fuzz-build fuzz-short fuzz dist dist-check dist-repro bench soak screenshot docs clean

demo: windows
	@scripts/wine-prefix.sh
	@$(WINE_RUN) build/windows/kn-host.exe render examples/welcome.txt build/welcome.png </dev/null >build/demo.log 2>&1 || { cat build/demo.log; exit 1; }
	@$(WINE_RUN) build/windows/kn-host.exe render examples/board/board-list.txt build/board.png --board </dev/null >>build/demo.log 2>&1 || { cat build/demo.log; exit 1; }
	@echo "DLL:      $(CURDIR)/build/windows/kaleidonote.dll"
	@echo "Pictures: $(CURDIR)/build/welcome.png (a memo), $(CURDIR)/build/board.png (board mode)"

# Making the Wine prefix and booting its session is the longest step of a
# first run under emulation and keeps about one core busy: it starts at once,
# in the background, and the Wine suites wait for it (the prefix script holds
# a lock while it works).
test: deps
	@mkdir -p build
	@scripts/wine-prefix.sh >build/wineprefix.out 2>&1 &
	@$(MAKE) --no-print-directory native asan tsan fuzz-short dist-repro wine-tests
	@echo "All test suites passed."

# Everything (the Wine set included); deps-native: only what the native,
# asan and fuzz builds use.
deps:
	@scripts/install-deps.sh

.PHONY: deps-native
deps-native:
	@scripts/install-deps.sh native

native: deps-native
	@echo "native: $$(date +%T) building"
	cmake --preset native >/dev/null
	cmake --build --preset native -j$(JOBS)
	ctest --preset native

asan: deps-native
	@echo "asan: $$(date +%T) building"
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j$(JOBS)
	ctest --preset asan

# Only the tests of the board reads on threads, under ThreadSanitizer.
tsan: deps-native
	@echo "tsan: $$(date +%T) building"
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan -j$(JOBS)
	ctest --preset tsan

windows: deps
	@echo "windows: $$(date +%T) building"
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS)

# Each step says when it starts: under emulation a Wine session takes minutes
# to boot, and a slow run shows where its time went. The suites run two at a
# time (the windows test preset): an emulated Wine program keeps about one
# core busy.
wine-tests: windows
	@echo "wine-tests: $$(date +%T) preparing the Wine prefix"
	@scripts/wine-prefix.sh || { cat build/wineprefix.out 2>/dev/null; exit 1; }
	@echo "wine-tests: $$(date +%T) running the suites"
	ctest --preset windows; status=$$?; scripts/wine-prefix.sh stop; echo "wine-tests: $$(date +%T) done"; exit $$status

fuzz-build: deps-native
	@echo "fuzz-build: $$(date +%T) building"
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j$(JOBS)

# A short bounded run of every fuzz target from its corpus (new finds go to a
# scratch folder, not into the repository).
fuzz-short: fuzz-build
	@echo "fuzz-short: $$(date +%T) running"
	@scripts/fuzz-all.sh $(FUZZ_SECONDS)

# The long run: FUZZ_SECONDS per target.
fuzz: FUZZ_SECONDS = 600
fuzz: fuzz-build
	@scripts/fuzz-all.sh $(FUZZ_SECONDS)

# The release zip, build/dist/kaleidonote-VERSION.zip: the windows build's
# DLL and programs (Release, stripped, reproducible), the Japanese readme and
# guide, the examples and SHA256SUMS.
dist: deps
	@echo "dist: $$(date +%T) building"
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j$(JOBS) --target dist

# The zip's contents, and its programs run from the extracted folder under
# Wine; `make test` runs the same check among the Wine suites.
dist-check: windows
	@scripts/wine-prefix.sh
	ctest --preset windows -R '^release_'; status=$$?; scripts/wine-prefix.sh stop; exit $$status

# A second build of the release from a copy of the sources in another folder
# gives the same bytes.
dist-repro: deps
	@echo "dist-repro: $$(date +%T) building"
	@scripts/dist-repro.sh

# The guide's pictures, rendered from docs/examples by the real DLL.
docs: windows
	scripts/render-docs.sh

# Benchmarks: the portable core natively, and the real DLL under Wine against
# the floors of GDI and the disk.
bench: native windows
	@scripts/wine-prefix.sh
	scripts/bench.sh

# The full leak soak and the hostile boards, through the real DLL under Wine.
soak: windows
	@scripts/wine-prefix.sh
	scripts/soak.sh

# A screenshot of the desktop host showing chips, under a virtual display.
screenshot: windows
	scripts/desktop-screenshot.sh

clean:
	rm -rf build
