#!/usr/bin/env bash
# Extraction benchmark on the jsoup sources of ../shared/data/sources. Prints two tables:
#  1. agreement of graphmat-extract with the reference diagrams made by another extractor
#     (class names, member labels "Owner.name(T1,T2)", full member texts, class relations);
#  2. extraction time of trees of growing size, made of copies of jsoup 1.12.1 under
#     renamed packages (4 copies = 600 classes), best wall time of REPEAT runs (default 3).
# Usage: bench/extract_jsoup.sh [build dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
data="$root/../shared/data"
[ -f "$data/sources/jsoup-1.12.1-src.tar.gz" ] || { echo "no jsoup sources under $data/sources"; exit 0; }
repeat=${REPEAT:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per class ("c <name>"), member ("m <Owner.name(params)>" and "t <Owner> <text>")
# and class relation ("r <from> <to> <label>") of a mode-12 diagram, nested names dotted.
names() {
    awk -F, '
        /^[pcma],/ { text = substr($0, length($1) + length($2) + 3); label[$2] = text }
        /^c,/ { gsub(/\$/, ".", text); owner = text; label[$2] = text; print "c " text }
        /^[ma],/ {
            n = split(text, part, "@")
            if ($1 == "m") print "m " owner "." part[n - 1] part[n]; else print "m " owner "." part[n]
            print "t " owner " " text
        }
        /^r,/ && ($4 == 1 || $4 == 2 || $4 == 3) { print "r " label[$2] " " label[$3] " " $4 }
    ' "$1" | sort
}

share() { # kind mine reference
    local common total
    common=$(comm -12 <(grep "^$1 " "$2") <(grep "^$1 " "$3") | wc -l)
    total=$(grep -c "^$1 " "$3")
    awk -v c="$common" -v t="$total" 'BEGIN { printf "%d/%d (%.2f%%)", c, t, t ? 100 * c / t : 0 }'
}

printf "%-8s %-18s %-20s %-20s %s\n" release classes "member labels" "member texts" "class relations"
for v in 1.12.1 1.15.3; do
    mkdir -p "$work/src-$v"
    tar -xzf "$data/sources/jsoup-$v-src.tar.gz" -C "$work/src-$v"
    "$build/graphmat-extract" "$work/src-$v" -o "$work/jsoup-$v.txt" > /dev/null
    names "$work/jsoup-$v.txt" > "$work/mine-$v"
    names "$data/jsoup/jsoup-$v.txt" > "$work/ref-$v"
    printf "%-8s %-18s %-20s %-20s %s\n" "$v" "$(share c "$work/mine-$v" "$work/ref-$v")" \
        "$(share m "$work/mine-$v" "$work/ref-$v")" "$(share t "$work/mine-$v" "$work/ref-$v")" \
        "$(share r "$work/mine-$v" "$work/ref-$v")"
done

echo
printf "%-7s %6s %8s %8s %10s\n" copies files classes members "wall s"
for copies in 1 2 4 8; do
    tree="$work/tree-$copies"
    for ((k = 1; k <= copies; k++)); do
        mkdir -p "$tree/copy$k"
        cp -r "$work/src-1.12.1/." "$tree/copy$k/"
        # Each copy lives in its own packages so that no class name repeats.
        find "$tree/copy$k" -name '*.java' -exec sed -i "s/org\.jsoup/org.jsoup$k/g" {} +
    done
    best=""
    for ((r = 0; r < repeat; r++)); do
        start=$(date +%s.%N)
        "$build/graphmat-extract" "$tree" -o "$work/tree-$copies.txt" > "$work/summary.txt"
        t=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN { printf "%.2f", e - s }')
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
    done
    files=$(find "$tree" -name '*.java' | wc -l)
    classes=$(grep -c '^c,' "$work/tree-$copies.txt")
    members=$(grep -c '^[ma],' "$work/tree-$copies.txt")
    printf "%-7s %6s %8s %8s %10s\n" "$copies" "$files" "$classes" "$members" "$best"
done
