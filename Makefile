# The two everyday commands; both install what is missing first.
BUILD_DIR ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build run test package sanitize fuzz bench clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) $(GENERATOR)
	@cmake --build $(BUILD_DIR) --parallel

run: build
	@scripts/run.sh $(BUILD_DIR)/velaro-paint

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --parallel 2

# A Debian package of the program (build/velaro-paint_<version>_<arch>.deb), made by CPack.
package: build
	@cmake --build $(BUILD_DIR) --target package

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@test -f build-sanitize/CMakeCache.txt || cmake -S . -B build-sanitize $(GENERATOR) \
	    -DCMAKE_BUILD_TYPE=Debug -DVELARO_SANITIZE=ON
	@cmake --build build-sanitize --parallel
	@cd build-sanitize && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  VELARO_REFERENCE_CASES=5000 \
	  ctest --output-on-failure --parallel 2

# Bounded libFuzzer runs of the number parser, the picture decoder and the sheet loader.
FUZZ_SECONDS ?= 30
fuzz:
	@EXTRA_PACKAGES="clang libclang-rt-14-dev" scripts/install-deps.sh
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# Start-up as a person sees it: launch to the first pixels of the main window on a private X
# server without a window manager, against a bare Qt window and the floor (the same content and
# nothing else), in alternating rounds; then Compute click times and the estimate sheet at 10 000 lines
# (adding a line, saving, opening).
BENCH_RUNS ?= 21
bench: build
	@cmake --build $(BUILD_DIR) --target bench-programs
	@LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" \
	    $(BUILD_DIR)/startup-bench $(BENCH_RUNS) $(BUILD_DIR)/velaro-paint \
	    $(BUILD_DIR)/bench-bare $(BUILD_DIR)/bench-floor
	@xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_DIR)/velaro-paint-bench --compute | grep compute_us
	@xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD_DIR)/estimate-bench | grep estimate_
	@bench/documents.sh $(BUILD_DIR)/documents-bench

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz
