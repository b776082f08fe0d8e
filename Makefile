# The two everyday commands are `make run` and `make test`; see README.md.
BUILD      := build
ASAN_BUILD := build-asan
ART_BUILD  := build-art
WIN_BUILD  := build-windows
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G "Unix Makefiles"

.PHONY: all build deps-run deps-test deps-windows deps-windows-package deps-bench deps-package bench run package test \
	test-host test-asan art \
	windows-configure windows windows-package test-windows format-check clean

all: build

# The host build's end-to-end test also plays the Windows program, once it is built.
build:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTESSARLINE_WINDOWS_PROGRAM=$(abspath $(WIN_BUILD))/Tessarline.exe >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

deps-run:
	@scripts/install-deps.sh run

deps-test:
	@scripts/install-deps.sh test

deps-bench:
	@scripts/install-deps.sh bench

bench: deps-bench
	@bench/run.sh

deps-windows:
	@scripts/install-deps.sh windows

deps-windows-package:
	@scripts/install-deps.sh windows-package

# Without a display, run.sh saves a picture of the window with the grab tool.
run: deps-run build
	$(if $(DISPLAY)$(WAYLAND_DISPLAY),,cmake --build $(BUILD) -j $(JOBS) --target tessarline_grab)
	@scripts/run.sh $(BUILD)/tessarline

deps-package:
	@scripts/install-deps.sh package

# The Debian package, from the build above: build/tessarline_VERSION_ARCH.deb.
package: deps-package build
	cd $(BUILD) && cpack

# The Windows build comes first: the host tests install its program and play it end to end.
test: deps-test format-check test-windows test-host test-asan test-web

# The desktop tests look at screenshots with the grab tool, which a plain build leaves out; the
# end-to-end test installs the Windows program over an older installer of it.
test-host: build windows-package
	cmake --build $(BUILD) -j $(JOBS) --target tessarline_grab
	cmake --build $(WIN_BUILD) -j $(JOBS) --target tessarline_msi_older
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTESSARLINE_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target all tessarline_grab
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# The Windows program, cross-built with mingw-w64. Its icon and picture are drawn by a tool
# built for this machine first.
art:
	cmake -S . -B $(ART_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DTESSARLINE_QT=OFF \
	  -DTESSARLINE_TESTS=OFF >/dev/null
	cmake --build $(ART_BUILD) -j $(JOBS) --target tessarline_art

windows-configure: art
	cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=MinSizeRel --no-warn-unused-cli \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTESSARLINE_TESTS=ON \
	  -DTESSARLINE_ART_TOOL=$(abspath $(ART_BUILD))/app/art/tessarline_art >/dev/null

windows: deps-windows windows-configure
	cmake --build $(WIN_BUILD) -j $(JOBS) --target Tessarline
	@echo "Built $(WIN_BUILD)/Tessarline.exe"

# Its installer, build-windows/Tessarline-VERSION.msi, packed by wixl (packaging/Msi.cmake).
windows-package: deps-windows-package windows
	cmake --build $(WIN_BUILD) -j $(JOBS) --target tessarline_msi

# Every Windows test under Wine, in a throw-away Wine prefix made once for the run.
test-windows: deps-test windows
	cmake --build $(WIN_BUILD) -j $(JOBS)
	@scripts/wine-env.sh ctest $(WIN_BUILD) -j $(JOBS)

format-check:
	@files=$$(git ls-files '*.cpp' '*.h') && [ -n "$$files" ] || \
	  { echo "format-check: no sources found (not a git checkout?)" >&2; exit 1; }; \
	  clang-format --dry-run --Werror $$files && echo "clang-format: clean"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(ART_BUILD) $(WIN_BUILD) $(WEB_BUILD) $(WASM_BUILD)

include app/web/web.mk
