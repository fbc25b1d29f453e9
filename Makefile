# SPDX-License-Identifier: GPL-3.0-or-later
# make test: install what is missing, build into build/, run every test.
# make demo: install what is missing, build, make the demo archive in build/demo/.
# make sanitize: the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
# make tsan: the tests of parallel runs built with ThreadSanitizer.
# make coverage: the tests built with gcov; prints the line coverage of the product code.
# make fuzz: the libFuzzer targets of the untrusted-input readers, built with clang; fails
# when one of them finds a fault.
JOBS ?= $(shell nproc)

.PHONY: all build-deps test-deps configure build test demo sanitize tsan coverage fuzz fuzz-long mutants smallest-suite package package-check bench clean format

all: build

build-deps:
	@scripts/install-deps.sh build

test-deps:
	@scripts/install-deps.sh test

# The program is built with the distribution's flags (debian/flags.mk), as its package is.
include debian/flags.mk
flag = $$(dpkg-buildflags --get $(1))
DISTRIBUTION_FLAGS = -DCMAKE_C_FLAGS="$(call flag,CPPFLAGS) $(call flag,CFLAGS)" \
	-DCMAKE_CXX_FLAGS="$(call flag,CPPFLAGS) $(call flag,CXXFLAGS)" \
	-DCMAKE_EXE_LINKER_FLAGS="$(call flag,LDFLAGS)" -DCMAKE_SHARED_LINKER_FLAGS="$(call flag,LDFLAGS)" \
	-DCMAKE_MODULE_LINKER_FLAGS="$(call flag,LDFLAGS)"

configure: build-deps
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DISTRIBUTION_FLAGS) >/dev/null

build: configure
	@cmake --build build -j $(JOBS) -- --no-print-directory

test: test-deps build
	@cd build && ctest --output-on-failure -j $(JOBS)

# The demo builds the command line and the tool that draws its photos: not the window, nor the
# tests (make build builds them all).
demo: configure
	@cmake --build build -j $(JOBS) --target lumvane make_sample_photos texture -- --no-print-directory
	@scripts/make-demo.sh build

sanitize: test-deps
	@cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DLUMVANE_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j $(JOBS)

TSAN_TESTS = PicturePipeline|RunPictures|RunDriverTest|CliParallel|CtrlC|FrmArchiveTest|gui_test
tsan: test-deps
	@cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMVANE_TSAN=ON >/dev/null
	@cmake --build build-tsan -j $(JOBS) --target run_test cli_test gui_test lumvane lumvane-window texture -- --no-print-directory
	@cd build-tsan && TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp \
		ctest --output-on-failure -j $(JOBS) -R '$(TSAN_TESTS)'

# Line coverage of the product code (not of tests/) by every test, with gcov and gcovr;
# the per-file table goes to build-coverage/coverage.txt.
coverage:
	@scripts/install-deps.sh coverage
	@cmake -S . -B build-coverage -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_FLAGS=--coverage \
		-DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
	@cmake --build build-coverage -j $(JOBS) -- --no-print-directory
	@find build-coverage -name '*.gcda' -delete
	@# the tests that run the program as nobody write their counts too
	@find build-coverage -type d -exec chmod a+rwx {} +
	@cd build-coverage && umask 000 && ctest -j $(JOBS) >ctest.log || { tail -n 30 ctest.log; exit 1; }
	@gcovr -r . --object-directory build-coverage --gcov-ignore-parse-errors -e 'tests/' -e 'build-coverage/' \
		-o build-coverage/coverage.txt --print-summary | grep -E '^(lines|branches)'

# Each fuzz target for FUZZ_SECONDS (default 60) with clang's libFuzzer, from its corpus kept
# in tests/fuzz/corpus; `make fuzz-long` runs each for FUZZ_LONG_SECONDS (default 1200).
FUZZ_SECONDS ?= 60
FUZZ_LONG_SECONDS ?= 1200
FUZZ_TARGETS ?= catalog_text plb gal tdb page_records sjpeg picture camera mdb mdb_parent
fuzz:
	@scripts/install-deps.sh fuzz
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMVANE_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS:%=%_fuzz) -- --no-print-directory
	@for target in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$target; \
		cp -n tests/fuzz/corpus/$$target/* build-fuzz/corpus/$$target/ 2>/dev/null || true; \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		build-fuzz/bin/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=60 \
			-artifact_prefix=build-fuzz/$$target- \
			build-fuzz/corpus/$$target > build-fuzz/$$target.log 2>&1 \
			|| { tail -n 40 build-fuzz/$$target.log; echo "$$target: the fuzzer found a fault"; exit 1; }; \
		echo "$$target: $$(grep -o 'cov: [0-9]* ft: [0-9]*' build-fuzz/$$target.log | tail -n 1);" \
			"$$(grep -E '^Done' build-fuzz/$$target.log | tail -n 1)"; \
	done

fuzz-long:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_LONG_SECONDS)

# Each fault of tools/mutants/faults.tsv planted alone, built in build-mutants/ and tested:
# caught (by which test) or survived. ONLY=3,7 plants those alone.
mutants:
	@scripts/install-deps.sh mutants
	@tools/mutants/run --jobs $(JOBS) $(if $(ONLY),--only $(ONLY))

# The smallest suite, in lines, that keeps every fault caught (tools/mutants/catchers.txt,
# from `tools/mutants/run --every-catcher`) and the line coverage within two points.
smallest-suite:
	@scripts/install-deps.sh smallest-suite
	@tools/smallest-suite/run

# The Debian packages (lumvane and lumvane-dbgsym), built from debian/ by dpkg-buildpackage
# in a clean copy of the tree, into build/package/.
package:
	@scripts/install-deps.sh package
	@scripts/build-package.sh build/package

# The package checked: built twice to the same bytes, lintian, then installed by apt, run as an
# ordinary user and removed.
package-check: package
	@scripts/package-check.sh build/package

bench: build
	@bench/run-bench.sh build

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan build-tsan build-fuzz build-mutants build-testmap
