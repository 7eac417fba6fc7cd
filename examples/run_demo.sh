#!/usr/bin/env bash
# Runs the matcher on the bundled example pair: two versions of a small shop system in
# which one class is renamed, one moved to another package and one split in two.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$root/${1:-build}" && pwd)
work="$build/demo"
mkdir -p "$work"
cd "$work"

# Symmetric weights: deleting or inserting a class or a relation costs the same, and the
# label weight only names the run in the result files.
"$build/graphmat" -o "$root/examples/v1.txt" -n "$root/examples/v2.txt" \
    -d 1 -g 1 -e 1 -y 1 -c 0.5 > run.log

grep -a -E "No Matching Cost|^Matching Cost|^Time|^Iterations" run.log
echo
echo "Full console output: $work/run.log"
echo "Result files:        $work/results/"
echo
echo "Short difference report:"
cat "$work/results/v1__v2__1__1__1__1__0.5__1.csv.csv.csv.csv"

echo
echo "Change report:"
"$build/graphmat-report" --text -o "$work/report.html" "$work/results/v1__v2__1__1__1__1__0.5__1.changes.json"
echo "Change report page:  $work/report.html"
