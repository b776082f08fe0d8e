# `make web`: the page in build-web/, exactly the files a static web server needs; the build
# itself (CMakePresets.json, app/web/CMakeLists.txt) works in build-wasm/. Included by the
# Makefile.
WEB_BUILD := build-web
WASM_BUILD := build-wasm

.PHONY: web deps-web test-web

web: deps-web
	@cmake --preset web >/dev/null
	cmake --build --preset web -j $(JOBS)
	@ls -l $(WEB_BUILD)

deps-web:
	@scripts/install-deps.sh web

# The page in Debian's headless Chromium, driven by the pinned puppeteer-core and checked with
# the pinned axe-core; installed again only when the lock file changes.
test-web: web
	@scripts/install-deps.sh test-web
	cd tests/web && { [ node_modules/.package-lock.json -nt package-lock.json ] || \
	  npm ci --no-audit --no-fund; }
	node --test tests/web/page.test.js
