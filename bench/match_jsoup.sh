#!/usr/bin/env bash
# Matches every pair of consecutive versions of the real diagrams in ../shared/data/jsoup and
# prints, per pair: sizes, matching cost, processor time, iterations, peak memory, and the
# share of the reference correspondences (classes, then members) that the matching recovers.
# Usage: bench/match_jsoup.sh [build dir] [extra graphmat switches...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
shift || true
data="$root/../shared/data/jsoup"
[ -d "$data" ] || { echo "no diagram data at $data"; exit 0; }
weights=(-d 1 -g 1 -e 1 -y 1 -c 0.5)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

versions=(1.6.0 1.7.2 1.8.3 1.10.1 1.12.1 1.15.3)

# Share of reference pairs "x,y,..." whose x is matched to y, or to a block holding y.
# The matching comes from the "ns" rows of the cost report: ns,x,y,label1,label2,...
score() { # report reference
    awk -F, '
        FNR == NR {
            if ($1 == "ns") {
                partner[$2] = $3
                if ($5 ~ /^_/) { n = split($5, parts, "_"); for (i = 1; i <= n; i++) if (parts[i] ~ /^[0-9]+$/) member[$2 "," parts[i]] = 1 }
            }
            next
        }
        { total++; if (partner[$1] == $2 || member[$1 "," $2]) found++ }
        END { printf "%d/%d (%.1f%%)", found, total, total ? 100 * found / total : 0 }
    ' "$1" "$2"
}

printf "%-18s %11s %10s %8s %6s %8s  %-22s %s\n" pair nodes cost "cpu s" iter "peak MB" classes members
for ((i = 0; i + 1 < ${#versions[@]}; i++)); do
    a=${versions[i]}; b=${versions[i + 1]}
    (cd "$work" && /usr/bin/time -f "%M" -o time.txt "$build/graphmat" \
        -o "$data/jsoup-$a.txt" -n "$data/jsoup-$b.txt" "${weights[@]}" "$@" > run.log)
    report=$(ls "$work"/results/jsoup-"$a"__jsoup-"$b"__*.csv | grep -v '\.csv\.csv' | grep -v '^raw_' | head -1)
    g1=$(grep -a "G1:" "$work/run.log" | awk '{print $2}')
    g2=$(grep -a "G2:" "$work/run.log" | awk '{print $2}')
    cost=$(grep -a "^Matching Cost" "$work/run.log" | awk '{print $4}')
    secs=$(grep -a "^Time" "$work/run.log" | awk '{print $3}')
    iters=$(grep -a "^Iterations" "$work/run.log" | awk '{print $3}')
    mem=$(( $(tail -1 "$work/time.txt") / 1024 ))
    printf "%-18s %11s %10s %8.2f %6s %8s  %-22s %s\n" "$a->$b" "$g1/$g2" "$cost" "$secs" "$iters" "$mem" \
        "$(score "$report" "$data/ref_${a}__${b}.csv")" "$(score "$report" "$data/ref_members_${a}__${b}.csv")"
    rm -rf "$work/results"
done
