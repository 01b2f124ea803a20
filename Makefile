# The one entry point for building and testing. `make test` is what CI runs.
BUILD_DIR   ?= build
BENCH_DIR   ?= build-bench
FUZZ_DIR    ?= build-fuzz
FUZZ_SECONDS ?= 60
RELEASE_DIR ?= build-release
JOBS        ?= $(shell nproc)

# ccache (used by CMakeLists.txt when found) shares compiled objects between clones of the tree:
# paths inside the tree are hashed relative to it and the build folder's own path is left out.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps test demo screenshots build bench fuzz clean

all: build

deps:
	./scripts/install-deps

# Debug build with AddressSanitizer and UndefinedBehaviorSanitizer, then every test in parallel.
test: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	      -DTV_SANITIZE=ON -DTV_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 600

# A first run of the program: the build of `make test` (the program and the kit's tools only), then
# tools/demo/run-demo, which imports a file holding every kind into a demo company, exports every
# kind, and exports one customer as the integration menu does, without a display, in a fresh
# temporary folder.
demo: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	      -DTV_SANITIZE=ON -DTV_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS) --target tollvane adkctl tv_kit
	tools/demo/run-demo $(BUILD_DIR)

# Pictures of the windows: the same build, then the tests labelled "screenshot" one after the other
# on a virtual X screen, where each saves what it shows as $(BUILD_DIR)/screenshots/<name>.png.
screenshots: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	      -DTV_SANITIZE=ON -DTV_BUILD_TESTS=ON
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && TV_SCREENSHOT_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
	    ctest -L screenshot --output-on-failure -j 1 --timeout 600

# Optimised build of the program and its tools, no tests.
build: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTV_BUILD_TESTS=OFF
	cmake --build $(RELEASE_DIR) -j $(JOBS)

# Optimised build of the benchmarks, then each of them in turn.
bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DTV_BUILD_TESTS=OFF -DTV_BUILD_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS)
	@for b in $$(find $(BENCH_DIR)/bench -type f -executable -name 'bench_*' 2>/dev/null | sort); do \
	    echo "== $$b"; $$b || exit 1; done

# Coverage-guided fuzzing: clang with every library instrumented and the sanitizers, then each fuzz
# target for FUZZ_SECONDS; new inputs join tests/fixtures/fuzz/<target>, crashes stay in
# $(FUZZ_DIR)/fuzz-crashes/<target>/ with the command that reproduces them.
fuzz:
	./scripts/install-deps --fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
	      -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	      -DTV_SANITIZE=ON -DTV_LIBFUZZER=ON -DTV_BUILD_TESTS=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets
	./scripts/run-fuzz $(FUZZ_DIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD_DIR) $(BENCH_DIR) $(RELEASE_DIR) $(FUZZ_DIR)
