# One command each for a fresh Debian machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: deps configure build run demo test clean

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

clean:
	rm -rf $(BUILD)
