# The two commands a newcomer needs; everything else is plain CMake presets.
.PHONY: run test package deps build-app build-release build-dev asan tsan fuzz bench clean

deps:
	@scripts/install-deps

# The programs alone (GUI, command-line tool, demo site): no tests, benchmarks or fuzz replays.
build-app: deps
	cmake --preset app
	cmake --build --preset app

build-release: deps
	cmake --preset release
	cmake --build --preset release

build-dev: deps
	cmake --preset dev
	cmake --build --preset dev

# Builds the programs and runs them against the bundled demo site.
run: build-app
	scripts/run-demo build/app

# The Debian package of the programs: build/app/vorlen360_<version>_<arch>.deb.
package: build-app
	cmake --build --preset app --target package

# Builds the developer preset and runs the whole test suite.
test: build-dev
	ctest --preset dev

# Sanitizer build and test run.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# ThreadSanitizer over the tests whose code runs reader and writer threads (the cipher file forms).
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# libFuzzer programs with ASan+UBSan (needs clang); each runs FUZZ_SECONDS over its seeds.
FUZZ_SECONDS ?= 20
fuzz: deps
	cmake --preset fuzz -DVORLEN_FUZZ_SECONDS=$(FUZZ_SECONDS)
	cmake --build --preset fuzz --target fuzz-all

bench: build-release
	scripts/run-benchmarks build/release

clean:
	rm -rf build
