# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-asan
FUZZ_BUILD_DIR ?= build-fuzz
# Seconds each fuzz target runs: 30 in `make test`, 600 in `make fuzz` unless given.
FUZZ_SECONDS ?=
JOBS ?= $(shell nproc)
SAMPLE ?= examples/sample.html
# The folder Tamsel opens at with `make tamsel`.
PAGES ?= examples

.PHONY: all deps configure build run tamsel test package bench fuzz screenshots clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# A first run builds what it runs, not the tests, benchmarks and tools, then
# shows where to go from the report. The check's status 1 (problems found,
# as the sample has on purpose) is no failure of the run.
run: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target orvane_run_deps
	$(BUILD_DIR)/bin/orvane check $(SAMPLE) || test $$? -eq 1
	@echo
	@echo 'Try next:'
	@echo '  the report as a web page:  $(BUILD_DIR)/bin/orvane check --format html --output $(BUILD_DIR)/sample-report.html $(SAMPLE); xdg-open $(BUILD_DIR)/sample-report.html'
	@echo '  the desktop program Tamsel on the example pages:  make tamsel'
	@echo '  what the fixer would change:  $(BUILD_DIR)/bin/orvane fix --dry-run --diff $(SAMPLE)'

# Tamsel, the desktop program, opened at the example pages; it builds with it
# the checker library it loads and the bundles and help it reads.
tamsel: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target Tamsel
	$(BUILD_DIR)/bin/Tamsel $(PAGES)

# The sanitized build uses clang++, so the fuzz targets are built and run
# (for a bounded time) with the other tests. A folder configured with another
# compiler is made anew.
test: deps
	@if [ -f $(TEST_BUILD_DIR)/CMakeCache.txt ] && ! grep -q '^CMAKE_C_COMPILER:[A-Z]*=.*clang' $(TEST_BUILD_DIR)/CMakeCache.txt; then \
		rm -rf $(TEST_BUILD_DIR); fi
	@cmake -S . -B $(TEST_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DORVANE_SANITIZE=ON -DORVANE_FUZZ=ON -DORVANE_FUZZ_SECONDS=$(or $(FUZZ_SECONDS),30) -DORVANE_BENCH=OFF >/dev/null
	@cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	@cd $(TEST_BUILD_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j $(JOBS) --timeout 600

# The Debian package of the normal build, $(BUILD_DIR)/orvane_VERSION_ARCH.deb,
# its dependencies read off the programs by dpkg-shlibdeps.
package: build
	@cmake --build $(BUILD_DIR) --target package

# The benchmarks, the comparison with tidy, and the repair walk over every
# corpus page (the tests walk a share of it, chosen by their seed).
bench: build
	$(BUILD_DIR)/bin/orvane_bench
	bench/compare-with-tidy $(BUILD_DIR)
	ORVANE_REPAIR_SHARE=all QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/orvane_ui_tests \
		--gtest_filter='RepairHarnessTest.AShareOfTheCorpus*'

# The fuzz targets alone, optimised, for a longer run: make fuzz FUZZ_SECONDS=3600
fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DORVANE_FUZZ=ON -DORVANE_FUZZ_SECONDS=$(or $(FUZZ_SECONDS),600) -DORVANE_TESTS=OFF -DORVANE_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS)
	@cd $(FUZZ_BUILD_DIR) && ctest -L fuzz --output-on-failure -j $(JOBS)

# Every window built so far, rendered offscreen in English and German, and the
# HTML report in headless Chromium (installed when missing), to $(BUILD_DIR)/screenshots.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/orvane_screenshots --out $(BUILD_DIR)/screenshots
	bash scripts/screenshot-report $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(FUZZ_BUILD_DIR)
