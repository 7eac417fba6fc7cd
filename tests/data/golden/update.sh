#!/usr/bin/env bash
# Regenerates the expected files of every golden run from the built matcher, on purpose:
# after a change of output, run it, review `git diff tests/data/golden`, and commit.
# usage: tests/data/golden/update.sh [build dir]   (default: build/ of this source tree)
set -euo pipefail
src=$(cd "$(dirname "$0")/../../.." && pwd)
exec bash "$src/tests/driver/GoldenRunTest.sh" --update "$src" "${1:-$src/build}"
