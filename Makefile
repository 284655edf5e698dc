# One command each for a fresh Debian machine: `make demo`, `make test`, `make run`.
BUILD ?= build
JOBS ?= 2
FUZZ_SECONDS ?= 60

.PHONY: deps configure build run demo test test-sanitize fuzz bench clean

deps:
	./tools/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/app/Vantrel $(ARGS)

demo: build
	./tools/demo $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer; any report
# fails it, and so does a leak when the program ends.
test-sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_SANITIZE=ON
	cmake --build build-sanitize -j$(JOBS)
	cd build-sanitize && \
	    ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) -E install_and_package

# The packet reader under libFuzzer for FUZZ_SECONDS, from the committed seed corpus.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS)
	mkdir -p build-fuzz/corpus build-fuzz/artifacts
	build-fuzz/tests/fuzz/fuzz_packetreader -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus tests/fuzz/corpus

# Figures, not verdicts: the reader's throughput, the line rate, start-up.
bench: build
	./bench/run $(BUILD)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
