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

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
