# `make web`: the page, its script and its WebAssembly module in build-web/, for any static web
# server. Included by the Makefile.
WEB_BUILD := build-web
WEB_OBJ   := $(WEB_BUILD)/obj
# The core, unchanged, and the one file that knows emscripten.
WEB_CXX   := $(wildcard board/core/*.cpp help/core/*.cpp) platform/web/WebCore.cpp
WEB_OBJS  := $(patsubst %.cpp,$(WEB_OBJ)/%.o,$(WEB_CXX))
# The page's own script, in dependency order; the module's loader follows it.
WEB_JS    := platform/web/bridge.js board/web/BoardView.js help/web/AboutDialog.js app/web/main.js
WEB_CXXFLAGS := -std=c++20 -Oz -flto -I. -MMD -MP -Wall -Wextra -Wpedantic -Wshadow \
	-Wnon-virtual-dtor -Wold-style-cast -Werror
WEB_LDFLAGS := -Oz -flto -sENVIRONMENT=web -sFILESYSTEM=0 -sEXPORTED_RUNTIME_METHODS=UTF32ToString \
	--js-library platform/web/library.js
# Debian's emcc finds acorn only through NODE_PATH.
EMXX := NODE_PATH=/usr/share/nodejs em++

.PHONY: web deps-web

web: deps-web $(WEB_BUILD)/index.html $(WEB_BUILD)/tessarline.js $(WEB_BUILD)/tessarline.wasm
	@ls -l $(WEB_BUILD)/index.html $(WEB_BUILD)/tessarline.js $(WEB_BUILD)/tessarline.wasm

deps-web:
	@scripts/install-deps.sh web

$(WEB_OBJ)/%.o: %.cpp
	@mkdir -p $(dir $@)
	$(EMXX) $(WEB_CXXFLAGS) -c $< -o $@

# emcc's own HTML output is not used: the page is the project's.
$(WEB_OBJ)/tessarline.js: $(WEB_OBJS) platform/web/library.js
	$(EMXX) $(WEB_LDFLAGS) $(WEB_OBJS) -o $@

$(WEB_OBJ)/tessarline.wasm: $(WEB_OBJ)/tessarline.js

$(WEB_BUILD)/tessarline.wasm: $(WEB_OBJ)/tessarline.wasm
	cp $< $@

$(WEB_BUILD)/tessarline.js: $(WEB_JS) $(WEB_OBJ)/tessarline.js
	cat $^ >$@

$(WEB_BUILD)/index.html: app/web/index.html
	@mkdir -p $(dir $@)
	cp $< $@

-include $(WEB_OBJS:.o=.d)

# The page in Debian's headless Chromium, driven by the pinned puppeteer-core; installed again
# only when the lock file changes.
.PHONY: test-web
test-web: web
	@scripts/install-deps.sh test-web
	cd tests/web && { [ node_modules/.package-lock.json -nt package-lock.json ] || \
	  npm ci --no-audit --no-fund; }
	node --test tests/web/page.test.js
