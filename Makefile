# Lx: `make run` builds and starts probe, `make test` runs the whole suite
# under AddressSanitizer and UndefinedBehaviorSanitizer. Both install the
# Debian packages the build needs when they are missing.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
RELEASE_DIR := build/release
ASAN_DIR := build/asan
BENCH_DIR := build/bench
FUZZ_DIR := build/fuzz

PACKAGES := cmake ninja-build g++ pkg-config libicu-dev libgtest-dev libgmock-dev \
            libbenchmark-dev
BENCH_PACKAGES := gettext locales
FUZZ_PACKAGES := clang libclang-rt-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

export ASAN_OPTIONS := halt_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS := halt_on_error=1:print_stacktrace=1

.PHONY: run test bench fuzz format deps clean

# Installs whatever of $(1) is not installed yet; quiet when nothing is missing.
define install_missing
	@missing=$$(for p in $(1); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

$(RELEASE_DIR)/build.ninja: | deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF

$(ASAN_DIR)/build.ninja: | deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLX_SANITIZE=ON

run: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	$(RELEASE_DIR)/app/probe

test: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS)
	ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS on its seed corpus
# (fuzz/corpus/<target>); what a run finds goes to build/fuzz/corpus, not into the repository.
FUZZ_SECONDS ?= 60
FUZZERS := form_reader text_form

$(FUZZ_DIR)/build.ninja:
	$(call install_missing,$(PACKAGES) $(FUZZ_PACKAGES))
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLX_FUZZ=ON -DLX_TESTS=OFF

fuzz: $(FUZZ_DIR)/build.ninja
	$(call install_missing,$(PACKAGES) $(FUZZ_PACKAGES))
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	@for f in $(FUZZERS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$f && \
	  echo "Fuzzing $$f for $(FUZZ_SECONDS) s" && \
	  $(FUZZ_DIR)/fuzz/fuzz_$$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_DIR)/ \
	    $(FUZZ_DIR)/corpus/$$f fuzz/corpus/$$f || exit 1; \
	done

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
