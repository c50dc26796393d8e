# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Die Lirabel-Entwickler

# make run:  installs what building and running need, builds the program, starts it.
# make test: installs what testing needs too, checks formatting and the layers'
#            includes, builds, runs every test through CTest, then again under
#            AddressSanitizer and UndefinedBehaviorSanitizer (clang), with short
#            runs of the fuzzers.
# make package: installs what building the package needs, builds the program alone
#            (no test) in its own folder and the Debian package from it.
# make bench: installs every group, builds in its own folder, runs every
#            benchmark, prints the table and writes it to bench/RESULTS.md.
# make format: formats every C++ file as .clang-format says.
BUILD ?= build
SANITIZE_BUILD ?= $(BUILD)-sanitize
BENCH_BUILD ?= $(BUILD)-bench
PACKAGE_BUILD ?= $(BUILD)-package
JOBS ?= 2

.PHONY: deps deps-test deps-bench deps-package configure build run package test check format test-plain test-sanitize fuzz bench clean

# Each command installs only the package groups it needs (packages.txt).
deps:
	@bash tools/install-deps.sh build run

deps-test:
	@bash tools/install-deps.sh build run package test

deps-package:
	@bash tools/install-deps.sh build run package

deps-bench:
	@bash tools/install-deps.sh build run package test bench

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

# Only the program: the tests are built by make test.
run: configure
	@echo "Building lirabel and its window in $(BUILD)/; the first build takes a few minutes."
	cmake --build $(BUILD) -j$(JOBS) --target lirabel
	./$(BUILD)/app/lirabel

# The program without its tests, and the .deb from it: $(PACKAGE_BUILD)/lirabel_*.deb
package: deps-package
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	@echo "Building the program for the package in $(PACKAGE_BUILD)/; the first build takes a few minutes."
	cmake --build $(PACKAGE_BUILD) -j$(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/lirabel_*.deb

test: check test-plain test-sanitize

# Formatting (clang-format, .clang-format) and the layers' include rule.
check: deps-test
	bash tools/check-format.sh
	bash tools/check-layers.sh

format: deps-test
	bash tools/check-format.sh --fix

test-plain: deps-test build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The system tests (real CUPS queue, installing the package) run in the plain build only.
test-sanitize: deps-test
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
		-DLIRABEL_SANITIZE=ON -DLIRABEL_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
		ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/support/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --output-on-failure -j$(JOBS) -LE system

# A longer fuzzing session: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
fuzz: deps-test
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
		-DLIRABEL_SANITIZE=ON -DLIRABEL_FUZZ=ON $(CMAKE_ARGS)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	for f in $(SANITIZE_BUILD)/tests/fuzz/fuzz_*; do \
		[ -x "$$f" ] && [ -f "$$f" ] || continue; \
		"$$f" -max_total_time=$(FUZZ_SECONDS) -timeout=5 || exit 1; \
	done

# Measured, not asserted: never part of make test.
bench: deps-bench
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF $(CMAKE_ARGS)
	cmake --build $(BENCH_BUILD) -j$(JOBS) --target benchmarks
	bash bench/run.sh $(BENCH_BUILD)

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(PACKAGE_BUILD)
