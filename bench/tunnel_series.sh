#!/usr/bin/env bash
# Runs the version tunnel on the real diagram series in ../shared/data (jsoup, and jfreechart
# when "all" is given: its pairs take minutes) with --jobs 1 and --jobs 2, and prints per run:
# versions, classes of the newest version, those followed back to the oldest, wall time,
# then the three classes with the most member and relation changes along their history.
# Usage: bench/tunnel_series.sh [build dir] [all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
libraries=(jsoup)
[ "${2:-}" = all ] && libraries+=(jfreechart)
data="$root/../shared/data"
[ -d "$data" ] || { echo "no diagram data at $data"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PATH="$build:$PATH"

# Sum of the change columns nbDelAtt … nbAddRel per class of the metrics file; top three.
top_changes() {
    awk -F, '
        NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
        { n = 0; split("DelAtt AddAtt DelMet AddMet RenMet ModMet DelRel AddRel", k, " ")
          for (j in k) n += $(col["nb" k[j]]); print n "\t" $1 }
    ' "$1" | sort -t$'\t' -k1,1nr | head -n 3 | awk -F'\t' '{ printf "%s%s (%d)", (NR > 1 ? ", " : ""), $2, $1 }'
}

printf "%-11s %8s %8s %8s %5s %8s  %s\n" library versions classes followed jobs "wall s" "most changed (changes)"
for lib in "${libraries[@]}"; do
    for jobs in 1 2; do
        run="$work/$lib-$jobs"
        mkdir -p "$run"
        start=$(date +%s.%N)
        (cd "$run" && "$root/scripts/tunnel-series" "$data/$lib" -d 1 -g 1 -e 1 -y 1 -c 0.5 --jobs "$jobs" > script.log)
        end=$(date +%s.%N)
        metrics=$(ls "$run"/results/tunnel_*.csv)
        versions=$(grep -c '^g,' "$run/tunnel-series.txt")
        classes=$(($(wc -l < "$metrics") - 1))
        followed=$(grep -a -o "tunnelSize,[0-9]*" "$run"/results/raw_tunnel_*.csv | cut -d, -f2)
        printf "%-11s %8s %8s %8s %5s %8.1f  %s\n" "$lib" "$versions" "$classes" "$followed" "$jobs" \
            "$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" "$(top_changes "$metrics")"
    done
done
