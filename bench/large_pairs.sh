#!/usr/bin/env bash
# Matches every pair of consecutive versions under ../shared/data/ (jsoup, jfreechart, ...)
# with the weights -d 1 -g 1 -e 1 -y 1 -c 0.5 and seed 1, and prints one table: nodes of both
# graphs, processor seconds (user + system), peak memory, iterations and milliseconds of
# processor time per iteration (whole run, start included, divided by the iterations).
# Usage: bench/large_pairs.sh [GRAPHMAT]   (default: build/graphmat)
# Settings through the environment: ONLY=<library> keeps one library's folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
graphmat=${1:-$root/build/graphmat}
case "$graphmat" in /*) ;; *) graphmat="$PWD/$graphmat" ;; esac
data="$root/../shared/data"
[ -d "$data" ] || { echo "no diagram data at $data"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The versions of one library folder, oldest first (version numbers compared field by field).
versions_of() { # folder library
    find "$1" -maxdepth 1 -name "$2-*.txt" ! -name '*.k.txt' -printf '%f\n' |
        sed -e "s/^$2-//" -e 's/\.txt$//' | sort -t. -k1,1n -k2,2n -k3,3n
}

printf "%-28s %13s %8s %8s %6s %8s\n" pair nodes "cpu s" "peak MB" iter "ms/iter"
for folder in "$data"/*/; do
    library=$(basename "$folder")
    [ -n "${ONLY:-}" ] && [ "$ONLY" != "$library" ] && continue
    mapfile -t versions < <(versions_of "$folder" "$library")
    for ((i = 0; i + 1 < ${#versions[@]}; i++)); do
        a=${versions[i]}; b=${versions[i + 1]}
        (cd "$work" && /usr/bin/time -f "%U %S %M" -o time.txt "$graphmat" \
            -o "$folder/$library-$a.txt" -n "$folder/$library-$b.txt" \
            -d 1 -g 1 -e 1 -y 1 -c 0.5 -s 1 > run.log 2>&1) || true
        read -r user sys peak < <(tail -1 "$work/time.txt")
        g1=$(grep -a "G1:" "$work/run.log" | awk '{print $2}')
        g2=$(grep -a "G2:" "$work/run.log" | awk '{print $2}')
        iters=$(grep -a "^Iterations" "$work/run.log" | awk '{print $3}')
        awk -v pair="$library $a->$b" -v nodes="$g1/$g2" -v u="$user" -v s="$sys" \
            -v peak="$peak" -v it="${iters:-0}" 'BEGIN {
                cpu = u + s
                printf "%-28s %13s %8.2f %8d %6d %8.2f\n", pair, nodes, cpu, peak / 1024, it,
                       (it > 0 ? 1000 * cpu / it : 0) }'
        rm -rf "$work/results" "$work/run.log" "$work/time.txt"
    done
done
