# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-asan
JOBS ?= $(shell nproc)
SAMPLE ?= examples/sample.html

.PHONY: all deps build run test bench fuzz clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/bin/orvane elements $(SAMPLE)

test: deps
	@cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON -DORVANE_BENCH=OFF >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@cd $(TEST_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) --timeout 600

bench: build
	./$(BUILD_DIR)/bin/orvane_bench

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) build-fuzz
