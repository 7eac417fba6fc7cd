#!/usr/bin/env bash
# Time per search iteration against graph size: matches a pair of class diagrams, then the
# pair made of 2 and 3 copies of each diagram side by side (one shared root package, the
# copies' top-level "org" package renamed org1, org2, ...), and prints nodes, iterations,
# processor seconds of the search loop and milliseconds per iteration for each size.
# Usage: bench/scaling.sh [GRAPHMAT] [DIAGRAM1 DIAGRAM2]
#        (default: build/graphmat on jsoup 1.12.1 -> 1.15.3 from ../shared/data)
# Settings through the environment: COPIES ["1 2 3"].
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
graphmat=${1:-$root/build/graphmat}
case "$graphmat" in /*) ;; *) graphmat="$PWD/$graphmat" ;; esac
first=${2:-$root/../shared/data/jsoup/jsoup-1.12.1.txt}
second=${3:-$root/../shared/data/jsoup/jsoup-1.15.3.txt}
[ -f "$first" ] && [ -f "$second" ] || { echo "no diagrams at $first / $second"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes k copies of a mode-12 diagram as one diagram: node 0 (the root package) is shared,
# every other node n of copy c becomes n + c (N - 1), in file order.
concatenate() { # diagram copies
    awk -F, -v OFS=, -v k="$2" '
        NR == 1 { n = $1; m = $2; next }
        { line[NR] = $0 }
        END {
            print n + (k - 1) * (n - 1), m * k
            for (c = 0; c < k; c++) {
                shift = c * (n - 1)
                for (i = 2; i <= NR; i++) {
                    split(line[i], f, ",")
                    if (f[1] == "r") {
                        from = f[2] == 0 ? 0 : f[2] + shift
                        to = f[3] == 0 ? 0 : f[3] + shift
                        rest = line[i]; sub(/^r,[^,]*,[^,]*/, "", rest)
                        arcs = arcs "r," from "," to rest "\n"
                        continue
                    }
                    if (f[2] == 0 && c > 0) continue
                    text = line[i]
                    if (c > 0) { gsub(/org\./, "org" c ".", text); sub(/,org$/, ",org" c, text) }
                    sub(/^[a-z],[0-9]+/, f[1] "," (f[2] == 0 ? 0 : f[2] + shift), text)
                    print text
                }
            }
            printf "%s", arcs
        }' "$1"
}

printf "%7s %13s %6s %10s %8s\n" copies nodes iter "search s" "ms/iter"
for k in ${COPIES:-1 2 3}; do
    concatenate "$first" "$k" > "$work/a$k.txt"
    concatenate "$second" "$k" > "$work/b$k.txt"
    (cd "$work" && "$graphmat" -o "a$k.txt" -n "b$k.txt" -d 1 -g 1 -e 1 -y 1 -c 0.5 -s 1 \
        > run.log 2>&1) || true
    g1=$(grep -a "G1:" "$work/run.log" | awk '{print $2}')
    g2=$(grep -a "G2:" "$work/run.log" | awk '{print $2}')
    iters=$(grep -a "^Iterations" "$work/run.log" | awk '{print $3}')
    # The progress line of the last move carries the processor seconds since the loop began.
    loop=$(grep -a -E ',[0-9.e+-]+s $' "$work/run.log" | tail -1 | sed -E 's/.*,([0-9.e+-]+)s $/\1/')
    awk -v k="$k" -v nodes="$g1/$g2" -v it="${iters:-0}" -v s="${loop:-0}" 'BEGIN {
        printf "%7d %13s %6d %10.2f %8.2f\n", k, nodes, it, s, (it > 0 ? 1000 * s / it : 0) }'
    rm -rf "$work/results" "$work/run.log"
done
