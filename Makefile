# Two commands on a fresh Debian 12 machine: `make run` and `make test`.
JOBS ?= 2
FUZZ_SECONDS ?= 60
CORE_TESTS := zor_model_tests zor_casefile_tests zor_analysis_tests zor_series_tests zor_image_tests zor_interaction_tests zor_session_tests

.PHONY: all deps configure build test run screenshot bench asan fuzz format format-check clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset default >/dev/null

build: configure
	@cmake --build --preset default -j$(JOBS)

test: build
	@ctest --preset default

run: build
	@bash scripts/run-demo.sh build/default

# The README's pictures: the demo case in a fresh folder and its series in the
# study window, drawn off screen.
screenshot: build
	@rm -rf build/default/screenshot-demo && mkdir -p docs
	@QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$(CURDIR)/build/default/screenshot-demo/config \
	  bash scripts/run-demo.sh build/default build/default/screenshot-demo \
	  --screenshot docs/screenshot.png
	@QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$(CURDIR)/build/default/screenshot-demo/config \
	  bash scripts/run-demo.sh build/default build/default/screenshot-demo \
	  --series --screenshot docs/study.png

# The core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j$(JOBS) --target $(CORE_TESTS)
	@ctest --preset asan-core

# Every libFuzzer target (clang, ASan + UBSan) for FUZZ_SECONDS each.
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j$(JOBS)
	@bash scripts/run-fuzzers.sh build/fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j$(JOBS) --target benchmarks
	@bash scripts/run-benchmarks.sh build/bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build
