# make run:  installs what is missing, builds, starts Lirabel.
# make test: installs what is missing, builds, runs every test through CTest.
BUILD ?= build
JOBS ?= 2

.PHONY: deps configure build run test clean

deps:
	@bash tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	./$(BUILD)/app/lirabel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)
