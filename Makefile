# The two commands a newcomer needs; everything else is plain CMake presets.
.PHONY: run test deps build-release build-dev asan bench clean

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

bench: build-release
	scripts/run-benchmarks build/release

clean:
	rm -rf build
