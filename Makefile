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
            libbenchmark-dev nlohmann-json3-dev libgettextpo-dev gettext libxml2-dev \
            qt6-l10n-tools translate-toolkit \
            libgtk-3-dev libpango1.0-dev xvfb xauth xdotool imagemagick fonts-noto-core fonts-noto-cjk \
            fonts-dejavu-core
BENCH_PACKAGES := gettext locales qt6-base-dev qt6-l10n-tools python3 libxcb1-dev libxcb-res0-dev
BENCH_FLAGS ?= --benchmark_enable_random_interleaving=true --benchmark_repetitions=5 \
               --benchmark_report_aggregates_only=true
# Narrows `make bench` to some cases, e.g. BENCH_CASES=--benchmark_filter=/context/
BENCH_CASES ?=
FUZZ_PACKAGES := clang libclang-rt-dev
FORMAT_PACKAGES := clang-format

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

export ASAN_OPTIONS := halt_on_error=1:detect_leaks=1:strict_string_checks=1
export UBSAN_OPTIONS := halt_on_error=1:print_stacktrace=1

FUZZ_SECONDS ?= 60

.PHONY: run test forms-check screenshots pictures install bench bench-reader bench-translator \
        bench-growth bench-screen bench-follow fuzz format deps clean

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

# The tools over real forms of other designers (FORMS, ../shared/data/forms by default) under
# the sanitizers: convert, extract, translate natively and into a pseudo-language, with counts.
FORMS ?= ../shared/data/forms
forms-check: deps $(ASAN_DIR)/build.ninja
	cmake --build $(ASAN_DIR) -j $(JOBS) --target lxform lxpo
	tools/formtools/forms_check.sh $(ASAN_DIR)/tools $(FORMS)

# probe's window in English, German, Japanese, Arabic and Hebrew, photographed on a virtual X
# server into docs/screenshots/ (the README shows them).
screenshots: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target probe
	xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp" \
	  app/screenshots.sh $(RELEASE_DIR)/app/probe docs/screenshots

# probe's form in every language of its dictionary, each translated control outlined with its
# key, for translators: docs/pictures/ProbeForm.<language>.png (the PO notes name them).
pictures: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target lxpictures lxpld
	$(RELEASE_DIR)/tools/lxpld/lxpld build app/probe.json -o $(RELEASE_DIR)/pictures-probe.pld
	mkdir -p docs/pictures
	xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96 -nolisten tcp" \
	  $(RELEASE_DIR)/tools/lxpictures/lxpictures $(RELEASE_DIR)/pictures-probe.pld \
	  app/forms/ProbeForm.lxfm -d docs/pictures

# Installs the release build: libraries, headers under include/lx, the tools with their man
# pages, the CMake package Lx and lx.pc.
PREFIX ?= /usr/local
install: deps $(RELEASE_DIR)/build.ninja
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	cmake --install $(RELEASE_DIR) --prefix $(PREFIX)

# The lookup benchmark against gettext and Qt; not part of `make test`. gettext
# needs a de_DE.UTF-8 message locale, compiled into the build folder. Every case
# runs in a fresh process (bench/run_lookup.sh).
LOOKUP_OUT := $(BENCH_DIR)/lookup
bench: deps
	$(call install_missing,$(BENCH_PACKAGES))
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target lookup_bench
	@[ -d $(BENCH_DIR)/locale/de_DE.UTF-8 ] || { mkdir -p $(BENCH_DIR)/locale && \
	  localedef -i de_DE -f UTF-8 $(BENCH_DIR)/locale/de_DE.UTF-8; }
	LOCPATH=$(abspath $(BENCH_DIR)/locale) bench/run_lookup.sh $(BENCH_DIR)/bench/lookup_bench \
	  $(LOOKUP_OUT) $(BENCH_FLAGS) $(BENCH_CASES)

# The dictionary image reader on a large generated image; not part of `make test`.
bench-reader: deps
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target pld_reader_bench
	$(BENCH_DIR)/bench/pld_reader_bench $(BENCH_FLAGS)

# The translator's pass on forms of 100, 1,000 and 10,000 controls; not part of `make test`.
bench-translator: deps
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target translator_bench
	$(BENCH_DIR)/bench/translator_bench $(BENCH_FLAGS) \
	  --benchmark_out=$(BENCH_DIR)/translator.json --benchmark_out_format=json
	python3 bench/translator_ratios.py $(BENCH_DIR)/translator.json

# Loading, translating and freeing forms of 2,000, 20,000 and 200,000 components; not part
# of `make test`.
bench-growth: deps
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target form_growth_bench
	$(BENCH_DIR)/bench/form_growth_bench --benchmark_repetitions=3 \
	  --benchmark_report_aggregates_only=true

# The window of 1,000 controls through the GTK backend against the same window as a Qt
# Widgets program, in fresh processes, interleaved, on one virtual X server; not part of
# `make test`. SCREEN_ROUNDS processes of each.
SCREEN_ROUNDS ?= 7
SCREEN_OUT := $(BENCH_DIR)/screen.jsonl
bench-screen: deps
	$(call install_missing,$(BENCH_PACKAGES))
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target screen_bench_lx screen_bench_qt
	xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96 -nolisten tcp" bench/run_screen.sh \
	  $(BENCH_DIR)/bench/screen_bench_lx $(BENCH_DIR)/bench/screen/screen.pld \
	  $(BENCH_DIR)/bench/screen_bench_qt $(BENCH_DIR)/bench/screen $(SCREEN_OUT) $(SCREEN_ROUNDS)
	python3 bench/screen_ratios.py $(SCREEN_OUT)

# From a dictionary file replaced by a rename to the window's repaint, for probe's window and
# the window of 1,000 controls (FOLLOW_ROUNDS replacements each); not part of `make test`.
FOLLOW_ROUNDS ?= 21
bench-follow: deps
	$(call install_missing,$(BENCH_PACKAGES))
	@[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DLX_TESTS=OFF -DLX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target follow_bench lxpld
	xvfb-run -a -s "-screen 0 1600x1200x24 -dpi 96 -nolisten tcp" bench/run_follow.sh \
	  $(BENCH_DIR)/bench/follow_bench $(BENCH_DIR)/tools/lxpld/lxpld app/probe.json \
	  $(BENCH_DIR)/bench/screen/screen.json $(BENCH_DIR)/follow.jsonl $(FOLLOW_ROUNDS)

# Every libFuzzer target of fuzz/ (clang, AddressSanitizer and UBSan) for
# FUZZ_SECONDS each, from its seed corpus in fuzz/corpus/<name>. What a run finds new
# goes to $(FUZZ_CORPUS)/<name> (outside build/, git-ignored), which the next run starts
# from, so the corpus grows from run to run and survives `make clean`; a crashing input
# goes to $(FUZZ_CORPUS)/crashes/<name>-... (keep it in fuzz/regressions/<name>/, which
# `make test` replays). Not part of `make test`.
FUZZ_CORPUS ?= fuzz/corpus-found
# Narrows `make fuzz` to some targets, e.g. FUZZ_TARGETS="settings po_file"
FUZZ_TARGETS ?= $(notdir $(patsubst %/,%,$(wildcard fuzz/corpus/*/)))
fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	@[ -f $(FUZZ_DIR)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLX_TESTS=OFF -DLX_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))
	@mkdir -p $(FUZZ_CORPUS)/crashes
	@for name in $(FUZZ_TARGETS); do \
	  seeds=fuzz/corpus/$$name; \
	  mkdir -p $(FUZZ_CORPUS)/$$name; \
	  echo "== $${name}_fuzz for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_DIR)/fuzz/$${name}_fuzz -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 \
	    -timeout=10 -artifact_prefix=$(FUZZ_CORPUS)/crashes/$$name- \
	    $(FUZZ_CORPUS)/$$name $$seeds || exit 1; \
	done

# Formats every C++ file of the repository with its .clang-format.
format:
	$(call install_missing,$(FORMAT_PACKAGES))
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
