#!/usr/bin/env bash
# Runs the matcher on the bundled example pair.
set -euo pipefail
build=${1:-build}
cd "$(dirname "$0")/.."
"$build/graphmat" -o examples/v1.txt -n examples/v2.txt || true
