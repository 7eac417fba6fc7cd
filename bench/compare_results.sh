#!/usr/bin/env bash
# Runs one fixed set of matchings with two builds of graphmat and checks that they produce the
# same results: every file under results/ byte for byte, and the console log with its timings
# blanked (the log lists every move played, its cost change and the state of the move index).
#
# Usage: bench/compare_results.sh BASELINE_GRAPHMAT [NEW_GRAPHMAT]   (default: build/graphmat)
# Settings through the environment:
#   CASES   all (default) or quick: quick leaves out the two large jfreechart pairs
#   KEEP    folder that keeps the baseline's outputs; a case already kept there is not run
#           again with the baseline (its executable is then not needed for that case)
#   WORK    folder for the new build's outputs (default: a new temporary folder)
# Prints one line per case and ends with status 0 when every case is identical, else 1.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
baseline=${1:?usage: bench/compare_results.sh BASELINE_GRAPHMAT [NEW_GRAPHMAT]}
candidate=${2:-$root/build/graphmat}
case "$baseline" in /*) ;; *) baseline="$PWD/$baseline" ;; esac
case "$candidate" in /*) ;; *) candidate="$PWD/$candidate" ;; esac
gen="$(dirname "$candidate")/graphmat-gen"
data="$root/../shared/data"
CASES=${CASES:-all}
WORK=${WORK:-$(mktemp -d)}
KEEP=${KEEP:-$WORK/baseline}
mkdir -p "$WORK" "$KEEP"
weights=(-d 1 -g 1 -e 1 -y 1 -c 0.5 -s 1)

# Generated pairs with a reference under ./datasets/random/, where starts other than 1 look:
# two in the node-list format (mode 0) and the same two as arc lists (mode 6: the header and
# the arc lines, node labels become the node numbers).
pairs="$WORK/pairs"
make_pairs() {
    [ -d "$pairs/datasets/random" ] && return
    mkdir -p "$pairs"
    (cd "$pairs" &&
        "$gen" random --n 200 --e 3 --q 0.9 --nl 5 --el 3 --pd 5 --pi 5 --seed 3 \
            --out ./datasets/random/small > /dev/null &&
        "$gen" random --n 400 --e 2 --q 0.8 --nl 8 --el 4 --pd 10 --pi 5 --seed 7 \
            --out ./datasets/random/medium > /dev/null)
    local graph prefix nodes
    for graph in "$pairs"/datasets/random/*A.csv; do
        prefix=${graph%A.csv}
        for side in A B; do
            nodes=$(head -1 "$prefix$side.csv" | cut -d, -f1)
            { head -1 "$prefix$side.csv"; tail -n +$((nodes + 2)) "$prefix$side.csv"; } \
                > "${prefix/random\//random/arcs_}$side.csv"
        done
        cp "$prefix.csv" "${prefix/random\//random/arcs_}.csv"
    done
}

# name|mode|graph 1|graph 2|start
list_cases() {
    local g v w
    echo "example|12|$root/examples/v1.txt|$root/examples/v2.txt|1"
    if [ -d "$data/jsoup" ]; then
        local versions=(1.6.0 1.7.2 1.8.3 1.10.1 1.12.1 1.15.3)
        for ((i = 0; i + 1 < ${#versions[@]}; i++)); do
            v=${versions[i]}; w=${versions[i + 1]}
            echo "jsoup-$v-$w|12|$data/jsoup/jsoup-$v.txt|$data/jsoup/jsoup-$w.txt|1"
        done
        for start in 2 4 0.5; do
            echo "jsoup-1.12.1-1.15.3-i$start|12|$data/jsoup/jsoup-1.12.1.txt|$data/jsoup/jsoup-1.15.3.txt|$start"
        done
    fi
    if [ "$CASES" != quick ] && [ -d "$data/jfreechart" ]; then
        echo "jfreechart-1.0.19-1.5.0|12|$data/jfreechart/jfreechart-1.0.19.txt|$data/jfreechart/jfreechart-1.5.0.txt|1"
        echo "jfreechart-1.5.0-1.5.6|12|$data/jfreechart/jfreechart-1.5.0.txt|$data/jfreechart/jfreechart-1.5.6.txt|1"
    fi
    for g in "$pairs"/datasets/random/*A.csv; do
        local name mode=0
        name=$(basename "${g%A.csv}" | cut -d_ -f1-2)
        case "$name" in arcs_*) mode=6 ;; esac
        for start in 1 2 3 4 0.5; do
            echo "gen-$name-i$start|$mode|$g|${g%A.csv}B.csv|$start"
        done
    done
}

# Runs one case with one executable in its own folder; the console log keeps everything but
# the processor times and the folder of the generated pairs.
run_case() { # executable folder mode graph1 graph2 start
    local exe=$1 dir=$2
    rm -rf "$dir"
    mkdir -p "$dir"
    ln -s "$pairs/datasets" "$dir/datasets"
    (cd "$dir" && "$exe" -h "$3" -o "$4" -n "$5" -i "$6" "${weights[@]}" > console.raw 2>&1) || true
    sed -E -e 's/,[-0-9.e+]+s $/,<time>s /' -e 's/^Time : .*/Time : <time>/' \
        -e 's#[^ ]*/pairs/datasets/#<pairs>/datasets/#g' \
        "$dir/console.raw" > "$dir/console.txt"
    rm -f "$dir/console.raw" "$dir/datasets"
    touch "$dir/.done"
}

make_pairs
different=0
while IFS='|' read -r name mode graph1 graph2 start; do
    if [ ! -f "$KEEP/$name/.done" ]; then
        [ -x "$baseline" ] || { echo "$name: no baseline output and $baseline is not executable"; different=1; continue; }
        run_case "$baseline" "$KEEP/$name" "$mode" "$graph1" "$graph2" "$start"
    fi
    run_case "$candidate" "$WORK/new/$name" "$mode" "$graph1" "$graph2" "$start"
    if diff -rq "$KEEP/$name" "$WORK/new/$name" > "$WORK/$name.diff"; then
        printf "%-34s identical (%s files)\n" "$name" "$(find "$KEEP/$name" -type f -not -name .done | wc -l)"
    else
        printf "%-34s DIFFERENT:\n" "$name"
        sed 's/^/    /' "$WORK/$name.diff"
        different=1
    fi
done < <(list_cases)
echo "outputs in $WORK (baseline in $KEEP)"
exit "$different"
