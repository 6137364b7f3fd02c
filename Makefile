# The two commands of the README. Each installs what it needs, builds, then runs.
BUILD ?= build
JOBS ?= $(shell nproc)
BENCH_SECONDS ?= 120
SANITIZE_BUILD ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test build deps format bench package sanitize fuzz

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/Campanor && ./campanor

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# A Debian package in $(BUILD)/package/: the program folder in /opt/Campanor,
# a launcher and an icon.
package: build
	cd $(BUILD) && cpack --config CPackConfig.cmake -B package

bench: build
	$(BUILD)/bench/campanor_bench
	$(BUILD)/bench/campanor_clock_bench $(BENCH_SECONDS)

format:
	find src tests bench -name '*.cpp' -o -name '*.h' -o -name '*.c' | xargs clang-format -i

# The tests again under AddressSanitizer and UndefinedBehaviorSanitizer, in a
# build folder of their own (the program and the tests; no benchmarks). The
# build runs the test binaries too (to list their tests), so it needs the options.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/tests/sanitizer/ubsan.supp

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCAMPANOR_SANITIZE=ON
	$(SANITIZER_ENV) cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) --timeout 600

# Each libFuzzer target for FUZZ_SECONDS seconds, starting from tests/fuzz/.
fuzz: deps
	cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash scripts/run-fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
