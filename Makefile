# The two commands for a new user: `make run` and `make test`.
BUILD          ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS           ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS    ?=

.PHONY: all deps configure build run test sanitize package bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run $(BUILD)/app/velmora

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The unit, backend and end-to-end tests once more, built with AddressSanitizer and UBSan.
sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
		-DVELMORA_SANITIZE=address,undefined -DVELMORA_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j $(JOBS) -L 'unit|backend|e2e'

package: build
	@cd $(BUILD) && cpack -G DEB

bench: build
	@scripts/bench $(BUILD)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(SANITIZE_BUILD)
