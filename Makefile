# make test: install what is missing, build into build/, run every test.
# make demo: install what is missing, build, make the demo archive in build/demo/.
# make sanitize: the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
JOBS ?= $(shell nproc)

.PHONY: all build-deps test-deps build test demo sanitize bench clean format

all: build

build-deps:
	@scripts/install-deps.sh build

test-deps:
	@scripts/install-deps.sh test

build: build-deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build build -j $(JOBS) -- --no-print-directory

test: test-deps build
	@cd build && ctest --output-on-failure -j $(JOBS)

demo: build
	@scripts/make-demo.sh build

sanitize: test-deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMVANE_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

bench: build
	@bench/run-bench.sh build

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
