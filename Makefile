# Quelmoor: the two commands a newcomer needs are `make play` and `make test`.

BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

# Tests that open windows need a display; without one they run under a virtual X server. It
# must not reset when its last client leaves: a test starting during the reset cannot connect.
HEADLESS = $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

.PHONY: all build deps play package test test-plain test-asan test-tsan test-fuzz fuzz fuzz-build bench clean

all: build

deps:
	@./scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt:
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

play: deps build
	@./scripts/play $(BUILD_DIR)

# A Debian package of the programs and their data: $(BUILD_DIR)/quelmoor_<version>_<arch>.deb.
package: deps build
	cd $(BUILD_DIR) && cpack

# Everything continuous integration runs: every suite of the plain build (the end-to-end runs
# and the fuzz-corpus replays among them), the same under the sanitizers, the network suite
# under ThreadSanitizer, and a bounded run of every fuzz target.
test: test-plain test-asan test-tsan test-fuzz

# A test that fails is run once more and fails only if it fails again: the end-to-end runs of
# whole programs share the machine's cores and depend on timing.
CTEST = ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

# Every suite of the plain build, headless.
test-plain: deps build
	cd $(BUILD_DIR) && ALSOFT_DRIVERS=null $(HEADLESS) $(CTEST) --timeout 300

# Every suite but the end-to-end runs of whole programs under AddressSanitizer and
# UndefinedBehaviorSanitizer, in its own build tree. Leaks are not checked: the system's
# OpenGL and fontconfig libraries keep allocations of their own until exit.
test-asan: deps
	cmake -S . -B build-asan -DQUELMOOR_SANITIZE=ON -DQUELMOOR_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ALSOFT_DRIVERS=null ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
		$(HEADLESS) $(CTEST) --timeout 600 -LE end-to-end

# The network suite under ThreadSanitizer, in its own build tree.
test-tsan: deps
	cmake -S . -B build-tsan -DQUELMOOR_TSAN=ON -DQUELMOOR_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build build-tsan --target test_network -j $(JOBS)
	cd build-tsan/data && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ../bin/test_network

# The libFuzzer targets, built with clang in their own tree; they start from the seeds in
# fuzz/corpus and keep what they find in build-fuzz/corpus.
FUZZ_TARGETS = network server
fuzz-build: deps
	CXX=clang++ cmake -S . -B build-fuzz -DQUELMOOR_FUZZ=ON -DQUELMOOR_TESTS=OFF -DQUELMOOR_BENCHMARKS=OFF $(CMAKE_FLAGS)
	cmake --build build-fuzz --target $(addprefix fuzz_,$(FUZZ_TARGETS)) -j $(JOBS)
	mkdir -p $(addprefix build-fuzz/corpus/,$(FUZZ_TARGETS))

# Every target for FUZZ_SECONDS each.
FUZZ_SECONDS ?= 60
fuzz: fuzz-build
	$(foreach target,$(FUZZ_TARGETS),build-fuzz/bin/fuzz_$(target) -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/$(target) fuzz/corpus/$(target) &&) true

# Every target for a fixed number of inputs from a fixed seed: a bounded, repeatable run.
FUZZ_RUNS ?= 200000
test-fuzz: fuzz-build
	$(foreach target,$(FUZZ_TARGETS),build-fuzz/bin/fuzz_$(target) -seed=1 -runs=$(FUZZ_RUNS) build-fuzz/corpus/$(target) fuzz/corpus/$(target) &&) true

bench: deps build
	@./scripts/bench $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) build-asan build-tsan build-fuzz
