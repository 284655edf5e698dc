# One command each, on a fresh Debian machine: `make demo`, `make run`, `make test`,
# `make windows`, `make test-windows`.
# Each installs the Debian packages it needs first (tools/install-deps), and no more.
BUILD ?= build
WINDOWS_BUILD ?= build-windows
JOBS ?= 2
FUZZ_SECONDS ?= 60
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: program run demo test test-sanitize fuzz bench check-windows windows test-windows clean

# The program, the glove simulator and the demo's screenshot taker, nothing else.
program:
	./tools/install-deps demo
	$(CONFIGURE) -DBUILD_TESTING=OFF -DVANTREL_BENCH=OFF
	cmake --build $(BUILD) -j$(JOBS) --target Vantrel vantrel-glove-sim vantrel-screenshot

run: program
	$(BUILD)/app/Vantrel $(ARGS)

demo: program
	./tools/demo $(BUILD)

test:
	./tools/install-deps test
	$(CONFIGURE) -DBUILD_TESTING=ON -DVANTREL_BENCH=OFF
	cmake --build $(BUILD) -j$(JOBS)
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer; any report
# fails it, and so does a leak when the program ends.
test-sanitize:
	./tools/install-deps test
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_SANITIZE=ON
	cmake --build build-sanitize -j$(JOBS)
	cd build-sanitize && \
	    ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
	    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) -E install_and_package

# The packet reader under libFuzzer for FUZZ_SECONDS, from the committed seed corpus.
fuzz:
	./tools/install-deps fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTREL_FUZZ=ON
	cmake --build build-fuzz -j$(JOBS)
	mkdir -p build-fuzz/corpus build-fuzz/artifacts
	build-fuzz/tests/fuzz/fuzz_packetreader -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=build-fuzz/artifacts/ build-fuzz/corpus tests/fuzz/corpus

# Figures, not verdicts: the reader's throughput, the line rate, the real program under Xvfb,
# start-up. BENCH_COMPARE=/path/to/another/Vantrel measures that build beside this one.
bench:
	./tools/install-deps bench
	$(CONFIGURE) -DBUILD_TESTING=ON -DVANTREL_BENCH=ON
	cmake --build $(BUILD) -j$(JOBS)
	./bench/run $(BUILD) 30 10 5 $(BENCH_COMPARE)

# The Windows executable's version record and icon, read back with MinGW's windres.
check-windows: program
	./tools/install-deps windows
	./tests/packaging/check-windows-resource.sh $(BUILD)/packaging/windows/vantrel.rc \
	    packaging/windows

# Vantrel.exe, its portable .zip and its installer, cross-built with MinGW-w64 against a static
# Qt that tools/build-qt-windows builds once from Debian's source (cached outside the tree).
windows:
	./tools/install-deps windows-build
	qt=$$(./tools/build-qt-windows) && \
	    cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	        -DCMAKE_TOOLCHAIN_FILE=$$qt/lib/cmake/Qt6/qt.toolchain.cmake -DQT_HOST_PATH=/usr \
	        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DBUILD_TESTING=ON
	cmake --build $(WINDOWS_BUILD) -j$(JOBS) --target Vantrel
	cd $(WINDOWS_BUILD) && cpack >/dev/null && ls -l Vantrel.exe Vantrel-*-windows-x64.*

# The Windows build's suites, the real Vantrel.exe and the installer, under Wine in Xvfb; the
# Linux build gives the tools they use beside Wine (line host, glove simulator, screenshots).
test-windows: windows
	./tools/install-deps test-windows
	$(CONFIGURE) -DBUILD_TESTING=ON -DVANTREL_BENCH=OFF
	cmake --build $(BUILD) -j$(JOBS) --target vantrel-line-host vantrel-glove-sim vantrel-screenshot
	cmake --build $(WINDOWS_BUILD) -j$(JOBS)
	./tests/windows/run-tests $(WINDOWS_BUILD) $(BUILD)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz $(WINDOWS_BUILD)
