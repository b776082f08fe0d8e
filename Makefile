# The two everyday commands are `make run` and `make test`; see README.md.
BUILD      := build
ASAN_BUILD := build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G "Unix Makefiles"

.PHONY: all build deps-run deps-test deps-bench bench run test test-host test-asan format-check clean

all: build

build:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

deps-run:
	@scripts/install-deps.sh run

deps-test:
	@scripts/install-deps.sh test

deps-bench:
	@scripts/install-deps.sh bench

bench: deps-bench
	@bench/run.sh

run: deps-run build
	@scripts/run.sh $(BUILD)/tessarline

test: deps-test format-check test-host test-asan

test-host: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DTESSARLINE_SANITIZE=ON >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

format-check:
	@files=$$(git ls-files '*.cpp' '*.h'); \
	  clang-format --dry-run --Werror $$files && echo "clang-format: clean"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
