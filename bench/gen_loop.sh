#!/usr/bin/env bash
# Closes the loop between the generators and the matcher: generates a random pair with a
# known correspondence, matches it with graphmat (node-list reader, mode 0) and reports the
# share of reference pairs that the matching recovered.
#
# Usage: bench/gen_loop.sh [BUILD_DIR]     (default: build)
# Settings through the environment (defaults in brackets):
#   N [300] common nodes, E [3] arcs per node, Q [0.9] agreement, NL [5] node labels,
#   EL [3] arc labels, PD [0] / PI [0] extra-node percentages, SEED [1] of the generator,
#   MATCH_SEED [1] of the matcher (as in the command lines appended to bat.txt),
#   MATCH_ARGS ["-d 1 -g 1 -e 1 -y 1 -c 0.5"] cost switches of the matcher,
#   WORK [a new temporary folder] where the pair and the results are written.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
gen="$build/graphmat-gen"
match="$build/graphmat"
for program in "$gen" "$match"; do
    [ -x "$program" ] || { echo "gen_loop: $program is not built" >&2; exit 1; }
done

N=${N:-300} E=${E:-3} Q=${Q:-0.9} NL=${NL:-5} EL=${EL:-3} PD=${PD:-0} PI=${PI:-0} SEED=${SEED:-1}
MATCH_SEED=${MATCH_SEED:-1}
MATCH_ARGS=${MATCH_ARGS:-"-d 1 -g 1 -e 1 -y 1 -c 0.5"}
WORK=${WORK:-$(mktemp -d)}
mkdir -p "$WORK/results"
cd "$WORK"

# 1. The pair, under the folder where the matcher looks for reference matchings.
"$gen" random --n "$N" --e "$E" --q "$Q" --nl "$NL" --el "$EL" --pd "$PD" --pi "$PI" \
    --seed "$SEED" --out ./datasets/random/loop > gen.log
graph1=$(ls ./datasets/random/loop_*A.csv)
prefix=${graph1%A.csv}
graph2=${prefix}B.csv
reference=${prefix}.csv

# 2. The matching.
# shellcheck disable=SC2086
"$match" -h 0 -o "$graph1" -n "$graph2" -s "$MATCH_SEED" $MATCH_ARGS > match.log 2>&1 || true
if ! grep -q "^Matching Cost" match.log; then
    echo "gen_loop: graphmat printed no matching cost; see $WORK/match.log" >&2
    exit 1
fi

# 3. The score: matched pairs are the "ns" rows of the cost report, whose name is the run
#    tag of the two graph names (the other report files carry further ".csv" suffixes).
name1=$(basename "$graph1" .csv)
name2=$(basename "$graph2" .csv)
report=$(ls ./results/"${name1}__${name2}__"*.csv | grep -v '\.csv\.csv$' | head -n 1)
awk -F, '
    NR == FNR { if (FNR > 6) { truth[$1] = $2; pairs++ } next }
    $1 == "ns" && ($2 in truth) && truth[$2] == $3 { found++ }
    END {
        share = pairs > 0 ? 100 * found / pairs : 0
        printf "recovered %d of %d reference pairs (%.1f%%)\n", found, pairs, share
    }' "$reference" "$report"
grep -E "^(Matching Cost|Time|Iterations)" match.log
echo "files in $WORK"
