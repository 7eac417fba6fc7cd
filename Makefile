# Convenience wrapper around CMake: `make demo` and `make test` do all the set-up.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= 2

.PHONY: all configure build test demo clean

all: build

configure:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	./examples/run_demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
