# make        builds dist/win32 (the shipping i686 build) and dist/win64
# make test   builds everything and runs every test (native, 32-bit native
#             under qemu-i386, and both Windows builds under Wine)
# make test-i686  only the shipping i686 build's tests (and the 32-bit native ones)
# make demo   builds the demo installer and drives it under Wine
# make screenshots  saves pictures of the dialogs into docs/
# make fuzz   runs each libFuzzer target for a minute (ZX_FUZZ_SECONDS)
SHELL := /bin/bash
.ONESHELL:
.SHELLFLAGS := -eu -o pipefail -c

BUILD    := build
WINEPFX  := $(CURDIR)/$(BUILD)/wineprefix
CMAKE_WIN = cmake -S . -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -Wno-dev

.PHONY: all deps win32 win64 native native32 dist test test-i686 test-native32 test-win32 demo screenshots fuzz clean
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

native32: deps
	cmake -S . -B $(BUILD)/native32 -G Ninja -DCMAKE_BUILD_TYPE=Debug -Wno-dev \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-native32.cmake >/dev/null
	cmake --build $(BUILD)/native32

dist: win32 win64
	for t in win32 win64; do rm -rf dist/$$t; cmake --install $(BUILD)/$$t --prefix dist/$$t >/dev/null; done
	ls -l dist/win32 dist/win64

test: native dist native32
	scripts/check-layers.sh $(BUILD)/native $(BUILD)/win64
	ctest --test-dir $(BUILD)/native --output-on-failure
	tests/wine/make-prefix.sh $(WINEPFX)
	WINEPREFIX=$(WINEPFX) ctest --test-dir $(BUILD)/win64 --output-on-failure
	$(MAKE) --no-print-directory test-native32 test-win32

test-i686: dist native32
	$(MAKE) --no-print-directory test-native32 test-win32

# The pure logic as 32-bit code. The compression tests run as i686 code in
# the win32 tree too, in a tenth of the time; the scripts' tests are the same
# in every tree.
test-native32:
	ctest --test-dir $(BUILD)/native32 --output-on-failure -E 'rar_compress_test|match_finder_test|bsdtar_roundtrip|check_layers_test'

# What ships, under emulation, in a prefix of its own (the 32-bit view of the
# registry, syswow64): every scenario of the x86_64 suite, on the i686 build.
test-win32:
	for f in setup.exe uninstall.exe unrar.dll; do cmp dist/win32/$$f $(BUILD)/win32/bin/$$f; done
	tests/wine/make-prefix.sh $(WINEPFX)-i686
	WINEPREFIX=$(WINEPFX)-i686 ctest --test-dir $(BUILD)/win32 --output-on-failure

demo: dist
	scripts/demo.sh

# Pictures of the dialogs into docs/ (Xvfb, a Wine prefix with a display).
screenshots: win64
	scripts/screenshots.sh

# libFuzzer targets (clang from Debian), bounded: separate from `make test`.
fuzz:
	scripts/fuzz.sh

clean:
	rm -rf $(BUILD)/fuzz $(BUILD)/native $(BUILD)/native32 $(BUILD)/win32 $(BUILD)/win64 $(BUILD)/wineprefix* dist
