# The two commands a newcomer needs; everything else is plain CMake presets.
.PHONY: run test deps build-release build-dev asan fuzz bench clean

deps:
	@scripts/install-deps

build-release: deps
	cmake --preset release
	cmake --build --preset release

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev

# Builds the release program and runs it against the bundled demo site.
run: build-release
	scripts/run-demo build/release

# Builds the developer preset and runs the whole test suite.
test: build-dev
	ctest --preset dev

# Sanitizer build and test run.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# libFuzzer programs with ASan+UBSan (needs clang); each runs FUZZ_SECONDS over its seeds.
FUZZ_SECONDS ?= 20
fuzz: deps
	cmake --preset fuzz -DVORLEN_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz --target fuzz-all

bench: build-release
	scripts/run-benchmarks build/release

clean:
	rm -rf build
