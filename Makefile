# make        builds dist/win32 (the shipping i686 build) and dist/win64
# make test   builds everything and runs every test (native and under Wine)
# make demo   builds the demo installer and drives it under Wine
# make screenshots  saves pictures of the dialogs into docs/
# make fuzz   runs each libFuzzer target for a minute (ZX_FUZZ_SECONDS)
SHELL := /bin/bash
.ONESHELL:
.SHELLFLAGS := -eu -o pipefail -c

BUILD    := build
WINEPFX  := $(CURDIR)/$(BUILD)/wineprefix
CMAKE_WIN = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -Wno-dev

.PHONY: all deps win32 win64 native dist test demo screenshots fuzz clean
all: dist

deps:
	scripts/deps.sh

win32 win64: deps
	arch=$$([ $@ = win32 ] && echo i686 || echo x86_64)
	$(CMAKE_WIN) -B $(BUILD)/$@ -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-$$arch.cmake >/dev/null
	cmake --build $(BUILD)/$@

native: deps
	cmake -S . -B $(BUILD)/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -Wno-dev >/dev/null
	cmake --build $(BUILD)/native

dist: win32 win64
	for t in win32 win64; do rm -rf dist/$$t; cmake --install $(BUILD)/$$t --prefix dist/$$t >/dev/null; done
	ls -l dist/win32 dist/win64

test: native dist
	scripts/check-layers.sh $(BUILD)/native $(BUILD)/win64
	ctest --test-dir $(BUILD)/native --output-on-failure
	tests/wine/make-prefix.sh $(WINEPFX)
	WINEPREFIX=$(WINEPFX) ctest --test-dir $(BUILD)/win64 --output-on-failure

demo: dist
	scripts/demo.sh

# Pictures of the dialogs into docs/ (Xvfb, a Wine prefix with a display).
screenshots: win64
	scripts/screenshots.sh

# libFuzzer targets (clang from Debian), bounded: separate from `make test`.
fuzz:
	scripts/fuzz.sh

clean:
	rm -rf $(BUILD)/fuzz $(BUILD)/native $(BUILD)/win32 $(BUILD)/win64 $(BUILD)/wineprefix dist
