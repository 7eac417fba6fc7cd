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
expect 1 m1k "$build/graphmat" -o "$v1" -n "$v2" "${weights[@]}" -k 0
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

# The change report page, from the change file of the first matching run above.
changes=$work/m0/results/v1__v2__1__1__1__1__0.5__1.changes.json
expect 0 p0 "$build/graphmat-report" "$changes" -o page.html
expect 1 p1 "$build/graphmat-report" missing.changes.json
blocked p3 taken
expect 3 p3 "$build/graphmat-report" "$changes" -o taken/page.html

# Evaluation: a signature resolved (console only), a comparison whose files cannot be written.
report=$work/m0/results/v1__v2__1__1__1__1__0.5__1.csv
expect 0 e0 "$build/graphmat-eval" resolve "$v1" com.shop.model.Order
expect 1 e1 "$build/graphmat-eval" frobnicate
expect 2 e2 "$build/graphmat-eval" resolve missing.txt com.shop.model.Order
blocked e3/results/raw_v1__v2__1__1__1__1__0.5__1.csv_umldiff.csv inside
mkdir -p "$work/e3/results/uml"
echo '"com.shop.service.PaymentGateway__com.shop.service.PaymentProcessor"' > "$work/e3/results/uml/uml_v1_v2.csv"
expect 3 e3 "$build/graphmat-eval" compare "$v1" "$v2" "$report"

# The tunnel over two versions of the bundled series, matched older to newer in mode 4.
series=$src/examples/series
expect 0 t0 "$build/graphmat" -h 4 -o "$series/shop-1.9.k.txt" -n "$series/shop-1.10.k.txt" "${weights[@]}"
pair=$(ls "$work"/t0/results/shop-1.9.k__shop-1.10.k__*__1.csv)
printf 'g,%s\ng,%s\nm,%s\n' "$series/shop-1.10.k.txt" "$series/shop-1.9.k.txt" "$pair" > "$work/series.txt"
expect 0 t0 "$build/graphmat-tunnel" "$work/series.txt"
expect 1 t1 "$build/graphmat-tunnel"
expect 2 t2 "$build/graphmat-tunnel" missing-series.txt
blocked t3 results
expect 3 t3 "$build/graphmat-tunnel" "$work/series.txt"

# Extraction and comparison of the Java fixture tree (they need Universal Ctags).
if command -v ctags > /dev/null; then
    java=$data/java_shop
    expect 0 x0 "$build/graphmat-extract" "$java/v1" -o v1.txt
    expect 1 x1 "$build/graphmat-extract" "$java/v1"
    expect 2 x2 "$build/graphmat-extract" missing-folder -o v1.txt
    blocked x3 taken
    expect 3 x3 "$build/graphmat-extract" "$java/v1" -o taken/v1.txt
    expect 0 k0 "$build/graphmat-compare" "$v1" "$v2" -o out
    expect 1 k1 "$build/graphmat-compare" "$v1"
    expect 2 k2 "$build/graphmat-compare" "$v1" missing.txt -o out
    blocked k3 taken
    expect 3 k3 "$build/graphmat-compare" "$v1" "$v2" -o taken/out
else
    echo "ctags absent: graphmat-extract and graphmat-compare not checked"
fi

[ "$failures" -eq 0 ] && echo "all exit codes as documented"
exit "$failures"
