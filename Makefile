# The two commands of the README. Each installs what it needs, builds, then runs.
BUILD ?= build
JOBS ?= $(shell nproc)
BENCH_SECONDS ?= 120

.PHONY: run test build deps format bench package

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
