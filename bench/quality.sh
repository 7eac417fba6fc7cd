#!/usr/bin/env bash
# Search quality on generated benchmark pairs, printed as tables.
#
#   bench/quality.sh grid  [BUILD_DIR]   recovery of the planted pairs over sizes and agreements
#   bench/quality.sh exact [BUILD_DIR]   costs against the exact one-to-one optimum, small pairs
#
# Settings through the environment (defaults in brackets):
#   EFFORT [1]        searches per run (-k); 1 runs the matcher exactly as by default
#   SWITCHES []       further matcher switches, e.g. "-i 2" for the greedy edge-subgraph start
#   JOBS [1]          runs at once (GNU parallel); keep EFFORT x JOBS within the cores
#   grid:  SIZES ["50 100 300"], QS ["0.7 0.9 0.95"], GEN_SEEDS ["1 2 3"], MATCH_SEEDS ["1 2 3"]
#   exact: SIZES ["5 6 7 8 9 10"], Q [0.9], GEN_SEEDS ["1 ... 10"], MATCH_SEEDS ["1"]
#   both:  E [3] arcs per node, NL [5] node labels, EL [3] arc labels,
#          WORK [a new temporary folder] for pairs and results, kept when given
# The matcher runs on the node-list reader (-h 0) with -d 1 -g 1 -e 1 -y 1 (and -c 0.5 in the
# grid, which changes no cost). Times are processor seconds of the whole matcher process.
set -euo pipefail

what=${1:-}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-build}
case "$build" in /*) ;; *) build="$root/$build" ;; esac
export GEN="$build/graphmat-gen" MATCH="$build/graphmat" EXACT="$build/graphmat-bench-exact"
for program in "$GEN" "$MATCH" "$EXACT"; do
    [ -x "$program" ] || { echo "quality: $program is not built" >&2; exit 1; }
done
export EFFORT=${EFFORT:-1} SWITCHES=${SWITCHES:-} E=${E:-3} NL=${NL:-5} EL=${EL:-3}
JOBS=${JOBS:-1}
if [ -n "${WORK:-}" ]; then mkdir -p "$WORK"; keep=1; else WORK=$(mktemp -d); keep=0; fi
export WORK

# Generates the pair of size $1, agreement $2, generator seed $3 once; prints its prefix.
pair() {
    local dir="$WORK/pairs/$1_$2_$3"
    if [ ! -d "$dir" ]; then
        mkdir -p "$dir.tmp"
        (cd "$dir.tmp" && "$GEN" random --n "$1" --e "$E" --q "$2" --nl "$NL" --el "$EL" \
            --seed "$3" --out ./p > gen.log)
        mv "$dir.tmp" "$dir" 2>/dev/null || rm -rf "$dir.tmp"
    fi
    local a
    a=$(ls "$dir"/p_*A.csv)
    echo "${a%A.csv}"
}

# Matches pair prefix $1 with matcher seed $2 in folder $3 (extra switches after);
# prints "cost cpu-seconds blocks(0|1)" and leaves the results in $3. The processor time
# (user and system, children included) is counted rather than the wall clock, which
# depends on what else the machine runs.
match() {
    local prefix=$1 seed=$2 dir=$3
    shift 3
    local effort=()
    [ "$EFFORT" -gt 1 ] && effort=(-k "$EFFORT")
    mkdir -p "$dir"
    (cd "$dir" && /usr/bin/time -f "%U %S" -o time.txt "$MATCH" -h 0 -o "${prefix}A.csv" \
        -n "${prefix}B.csv" -s "$seed" "${effort[@]}" -d 1 -g 1 -e 1 -y 1 "$@" $SWITCHES \
        > match.log 2>&1) || true
    local cost blocks=0 seconds
    seconds=$(awk '{ printf "%.2f", $1 + $2 }' "$dir/time.txt")
    cost=$(sed -n 's/^Matching Cost : //p' "$dir/match.log")
    [ -n "$cost" ] || { echo "quality: no cost in $dir/match.log" >&2; cost=nan; }
    if [ -s "$(ls "$dir"/results/*_MERGES.csv 2>/dev/null | head -n 1)" ]; then blocks=1; fi
    echo "$cost $seconds $blocks"
}

# How the search of the run in folder $1 went, from its progress lines: iterations, the
# stagnation limit, how it ended (stag: the limit was reached; empty: no move was left),
# improving / zero / worsening moves, the iteration of the last improvement, the longest
# run of zero-cost moves.
profile() {
    awk '
        /STAGNATION = / { limit = $3 }
        /--> .*\] : / {
            n++; s = $0; sub(/.*--> /, "", s); split(s, a, "/>"); stag = a[1] + 0
            d = $0; sub(/.*\] : /, "", d); sub(/\(.*/, "", d); d += 0
            if (d < 0) better++; else if (d == 0) zero++; else worse++
            if (stag == 0) last = n
            run = d == 0 ? run + 1 : 0; if (run > longest) longest = run
        }
        END { printf "%d %d %s %d %d %d %d %d", n, limit, (stag >= limit ? "stag" : "empty"),
                     better, zero, worse, last, longest }' "$1/match.log"
}

# One grid run: size, agreement, generator seed, matcher seed -> a line of figures.
grid_run() {
    local prefix dir
    prefix=$(pair "$1" "$2" "$3")
    dir="$WORK/runs/grid_$1_$2_$3_$4"
    read -r cost seconds _ < <(match "$prefix" "$4" "$dir" -c 0.5)
    local report
    report=$(ls "$dir"/results/p_*__*.csv | grep -v '\.csv\.csv$' | head -n 1)
    local recovered
    recovered=$(awk -F, 'NR == FNR { if (FNR > 6) { truth[$1] = $2; pairs++ } next }
        $1 == "ns" && ($2 in truth) && truth[$2] == $3 { found++ }
        END { printf "%.1f", (pairs > 0 ? 100 * found / pairs : 0) }' "${prefix}.csv" "$report")
    echo "$1 $2 $3 $4 $recovered $cost $seconds $(profile "$dir")"
}

# One exact comparison: size, agreement, generator seed, matcher seed -> a line of figures.
exact_run() {
    local prefix dir optimum
    prefix=$(pair "$1" "$2" "$3")
    dir="$WORK/runs/exact_$1_$2_$3_$4"
    read -r cost _ blocks < <(match "$prefix" "$4" "$dir")
    optimum=$(cd "$WORK" && "$EXACT" 0 "${prefix}A.csv" "${prefix}B.csv" 1 1 1 1 0 |
        sed -n 's/^optimum=\([^ ]*\) proven=1.*/\1/p')
    echo "$1 $2 $3 $4 $cost ${optimum:-nan} $blocks"
}
export -f pair match profile grid_run exact_run

# Runs "$1" over the argument lines on stdin, JOBS at once.
run_all() {
    if [ "$JOBS" -gt 1 ] && command -v parallel > /dev/null; then
        parallel -j "$JOBS" --colsep ' ' "$1" {1} {2} {3} {4}
    else
        while read -r a b c d; do "$1" "$a" "$b" "$c" "$d"; done
    fi
}

grid() {
    local sizes=${SIZES:-50 100 300} qs=${QS:-0.7 0.9 0.95}
    local gseeds=${GEN_SEEDS:-1 2 3} mseeds=${MATCH_SEEDS:-1 2 3}
    for n in $sizes; do for q in $qs; do for g in $gseeds; do for m in $mseeds; do
        echo "$n $q $g $m"
    done; done; done; done | run_all grid_run > "$WORK/grid.txt"
    echo "Recovery grid, effort $EFFORT (-k), switches '$SWITCHES', generator seeds $gseeds x matcher seeds $mseeds"
    echo
    echo "| N | q | recovery % min / mean / max | cost min / mean / max | cpu s min / mean / max |"
    echo "|---|---|---|---|---|"
    sort -k1,1n -k2,2n "$WORK/grid.txt" | awk '
        function cell(k) { return sprintf("%s / %s / %s", lo[k], sum[k] / cnt[k], hi[k]) }
        function keep(k, v) { if (!(k in lo) || v < lo[k]) lo[k] = v; if (!(k in hi) || v > hi[k]) hi[k] = v; sum[k] += v; cnt[k]++ }
        { key = $1 " " $2; if (!(key in seen)) { seen[key] = 1; order[++n] = key }
          keep(key "r", $5); keep(key "c", $6); keep(key "t", $7) }
        END { for (i = 1; i <= n; i++) { k = order[i]; split(k, f, " ")
            printf "| %s | %s | %s | %s | %s |\n", f[1], f[2], cell(k "r"), cell(k "c"), cell(k "t") } }' OFMT='%.4g' CONVFMT='%.4g'
    echo
    echo "How the searches went (means over the runs of a cell)"
    echo
    echo "| N | q | iterations | stagnation limit | ended on the limit | improving | zero | worsening | last improvement | longest zero run |"
    echo "|---|---|---|---|---|---|---|---|---|---|"
    sort -k1,1n -k2,2n "$WORK/grid.txt" | awk '
        { key = $1 " " $2; if (!(key in runs)) order[++n] = key
          runs[key]++; it[key] += $8; lim[key] = $9; stag[key] += ($10 == "stag")
          b[key] += $11; z[key] += $12; w[key] += $13; l[key] += $14; zr[key] += $15 }
        END { for (i = 1; i <= n; i++) { k = order[i]; split(k, f, " "); r = runs[k]
            printf "| %s | %s | %.0f | %d | %d of %d | %.0f | %.0f | %.0f | %.0f | %.1f |\n", f[1], f[2],
                it[k] / r, lim[k], stag[k], r, b[k] / r, z[k] / r, w[k] / r, l[k] / r, zr[k] / r } }'
}

exact() {
    local sizes=${SIZES:-5 6 7 8 9 10} q=${Q:-0.9}
    local gseeds=${GEN_SEEDS:-1 2 3 4 5 6 7 8 9 10} mseeds=${MATCH_SEEDS:-1}
    for n in $sizes; do for g in $gseeds; do for m in $mseeds; do
        echo "$n $q $g $m"
    done; done; done | run_all exact_run > "$WORK/exact.txt"
    echo "Exact comparison, q = $q, effort $EFFORT (-k), switches '$SWITCHES', generator seeds $gseeds x matcher seeds $mseeds"
    echo "gap = (cost - one-to-one optimum) / optimum; a result with blocks may go below 0"
    echo
    echo "| nodes | runs | one-to-one | at optimum (1:1) | mean gap (1:1) | at or below optimum (all) | below optimum (blocks) | mean gap (all) |"
    echo "|---|---|---|---|---|---|---|---|"
    sort -k1,1n "$WORK/exact.txt" | awk '
        function pct(a, b) { return b > 0 ? sprintf("%.0f %%", 100 * a / b) : "-" }
        function mean(a, b) { return b > 0 ? sprintf("%.1f %%", 100 * a / b) : "-" }
        { n = $1; cost = $5; opt = $6; blocks = $7
          if (!(n in runs)) order[++sizes] = n
          runs[n]++
          tol = 1e-5 * (opt > 1 ? opt : 1)
          gap = opt > 0 ? (cost - opt) / opt : (cost > tol ? 1 : 0)
          if (!blocks) { one[n]++; if (cost <= opt + tol) oneAt[n]++; oneGap[n] += gap }
          if (cost <= opt + tol) allAt[n]++
          if (cost < opt - tol) below[n]++
          allGap[n] += gap }
        END { for (i = 1; i <= sizes; i++) { n = order[i]
            printf "| %s | %d | %d | %s | %s | %s | %d | %s |\n", n, runs[n], one[n], pct(oneAt[n], one[n]),
                mean(oneGap[n], one[n]), pct(allAt[n], runs[n]), below[n], mean(allGap[n], runs[n]) } }'
}

case "$what" in
    grid) grid ;;
    exact) exact ;;
    *) echo "usage: bench/quality.sh grid|exact [BUILD_DIR]" >&2; exit 1 ;;
esac
[ "$keep" = 1 ] || rm -rf "$WORK"
