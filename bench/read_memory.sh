#!/usr/bin/env bash
# Peak memory of reading inputs built to make qualified names long: mode-12 diagrams whose
# packages form one containment chain, and mode-9/mode-8 diagrams with one class whose name
# has many dotted parts. Prints one row per input: its size and the reader's peak resident
# memory, so that growth with the input shows (linear: the last column stays flat).
# Usage: bench/read_memory.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

chain() { # packages -> mode-12 file of one package chain
    awk -v n="$1" 'BEGIN {
        print n "," n - 1
        for (i = 0; i < n; i++) print "p," i ",package" i
        for (i = 0; i + 1 < n; i++) print "r," i "," i + 1 ",9"
    }'
}

longName() { # parts -> mode-9 file holding one class with that many dotted parts
    awk -v n="$1" 'BEGIN { printf "c,0,"; for (i = 0; i < n; i++) printf "%s%s", (i ? "." : ""), "p"; print "" }'
}

row() { # label mode file
    local kb rss
    kb=$(( $(stat -c %s "$3") / 1024 ))
    rss=$(/usr/bin/time -f "%M" "$build/graphmat-bench-read" --mode "$2" "$3" 2>&1 >/dev/null | tail -n 1)
    printf "%-28s %5s %9s %12s %14s\n" "$1" "$2" "$kb" "$((rss / 1024))" "$(awk -v r="$rss" -v k="$kb" 'BEGIN { printf "%.1f", k ? r / k : 0 }')"
}

printf "%-28s %5s %9s %12s %14s\n" "input" "mode" "input KB" "peak RSS MB" "RSS KB/input KB"
for n in 2500 5000 10000 20000; do
    chain "$n" > chain_$n.txt
    row "package chain of $n" 12 chain_$n.txt
done
for n in 4000 8000 16000 32000; do
    longName "$n" > name_$n.txt
    row "class name of $n parts" 9 name_$n.txt
    { echo "1,0"; cat name_$n.txt; } > name8_$n.txt
    row "class name of $n parts" 8 name8_$n.txt
done
