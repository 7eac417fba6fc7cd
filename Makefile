# Convenience wrapper around CMake: `make demo` and `make test` do all the set-up.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= 2
PREFIX ?= /usr/local

# ccache, when the machine has it, keeps rebuilds (and the second build of CI) short; the
# base folder lets clones in other folders share its entries.
ifneq ($(shell command -v ccache 2>/dev/null),)
LAUNCHER = -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := true
endif

# Debian package groups scripts/install-deps checks (and installs when missing) before
# configuring; a goal widens them for everything it builds on.
DEPS_GROUPS = build
test: DEPS_GROUPS = build test
package: DEPS_GROUPS = build package
fuzz: DEPS_GROUPS = build test
format-check: DEPS_GROUPS = build test

.PHONY: all deps configure build test demo install package clean fuzz format format-check

all: build

deps:
	@scripts/install-deps $(DEPS_GROUPS)

configure: deps
	cmake -S . -B $(BUILD) $(LAUNCHER) $(CMAKE_FLAGS)

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

# Fuzzing the readers with libFuzzer (clang): one target per reader family, each run for
# FUZZ_SECONDS on the committed seeds of tests/fuzz/corpus/<family>/. New inputs go to
# $(FUZZ_BUILD)/corpus/<family>/, failing ones to $(FUZZ_BUILD)/crash-<family>-*; copy a
# failing input into the committed corpus once it is fixed, so that every build replays it.
FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz
FUZZ_FAMILIES = text-graph binary-graph class-diagram config member-text match-file

fuzz: deps
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DFUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) $(addprefix --target fuzz-,$(FUZZ_FAMILIES))
	@for family in $(FUZZ_FAMILIES); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$family; \
	  echo "== fuzz-$$family: $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/fuzz-$$family -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -max_len=65536 \
	    -artifact_prefix=$(FUZZ_BUILD)/crash-$$family- \
	    $(FUZZ_BUILD)/corpus/$$family tests/fuzz/corpus/$$family > $(FUZZ_BUILD)/fuzz-$$family.log 2>&1; \
	  status=$$?; grep -E "^Done|^==.*ERROR|^SUMMARY" $(FUZZ_BUILD)/fuzz-$$family.log; \
	  [ $$status -eq 0 ] || { echo "fuzz-$$family failed: see $(FUZZ_BUILD)/fuzz-$$family.log"; exit 1; }; \
	done

# Every C++ source follows .clang-format; `make format` rewrites, `make format-check` (CI) fails
# on the first difference.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
