# Convenience wrapper around CMake: `make demo` and `make test` do all the set-up.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= 2
PREFIX ?= /usr/local

# Debian package groups scripts/install-deps checks (and installs when missing) before
# configuring; a goal widens them for everything it builds on.
DEPS_GROUPS = build
test: DEPS_GROUPS = build test
package: DEPS_GROUPS = build package

.PHONY: all deps configure build test demo install package clean

all: build

deps:
	@scripts/install-deps $(DEPS_GROUPS)

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	./examples/run_demo.sh $(BUILD)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/package/*.deb

clean:
	rm -rf $(BUILD)
