#!/usr/bin/env bash
# Exit codes of every executable, run as processes: 0 done, 1 usage or bad argument,
# 2 input missing or unreadable, 3 output not written. One case per code per executable.
# Usage: tests/exit_codes.sh <build dir> <source dir>
set -uo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # code folder command... : runs the command in a fresh folder, checks its code
    local want=$1 folder=$work/$2
    shift 2
    mkdir -p "$folder"
    (cd "$folder" && "$@" > out.txt 2> err.txt)
    local got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL: expected $want, got $got: $*"
        tail -n 3 "$folder/err.txt" "$folder/out.txt"
        failures=$((failures + 1))
    fi
}

# A results folder, results file or output folder that cannot be created: a file holds its name.
blocked() { mkdir -p "$work/$1" && echo "a file, not a folder" > "$work/$1/$2"; }

v1=$src/examples/v1.txt
v2=$src/examples/v2.txt
data=$src/tests/data
weights=(-d 1 -g 1 -e 1 -y 1 -c 0.5)

expect 0 m0 "$build/graphmat" -o "$v1" -n "$v2" "${weights[@]}"
expect 1 m1 "$build/graphmat" -o "$v1" -n "$v2" -d nan
expect 2 m2 "$build/graphmat" -o "$v1" -n missing.txt "${weights[@]}"
blocked m3 results
expect 3 m3 "$build/graphmat" -o "$v1" -n "$v2" "${weights[@]}"

expect 0 c0 "$build/graphmat-mces" -o "$data/mces_pair_a.txt" -n "$data/mces_pair_b.txt" -t 2 -m 2
expect 1 c1 "$build/graphmat-mces" -o "$data/mces_pair_a.txt"
expect 2 c2 "$build/graphmat-mces" -o missing.txt -n "$data/mces_pair_b.txt"
mkdir -p "$work/c3/results.csv"
expect 3 c3 "$build/graphmat-mces" -o "$data/mces_pair_a.txt" -n "$data/mces_pair_b.txt"

expect 0 g0 "$build/graphmat-gen" noise --id 1 --nodes 5 --epsilon 2
expect 1 g1 "$build/graphmat-gen" random --n 20 --q 0.9 --e 400 --out p/x
expect 2 g2 "$build/graphmat-gen" mutate --graph missing.txt --out m/x
blocked g3 taken
expect 3 g3 "$build/graphmat-gen" random --n 5 --e 1 --q 0.9 --out taken/x

expect 0 r0 "$build/graphmat-bench-read" "$data/mode12_org_util.txt"
expect 1 r1 "$build/graphmat-bench-read" --mode x "$data/mode12_org_util.txt"
expect 2 r2 "$build/graphmat-bench-read" missing.txt

# The solver benchmark takes no input and writes only to the console: codes 0 and 1.
expect 1 h1 "$build/graphmat-bench-hungarian" --size 10

[ "$failures" -eq 0 ] && echo "all exit codes as documented"
exit "$failures"
