#!/usr/bin/env bash
# Golden end-to-end runs of the matcher: each case of tests/data/golden/ is run by the
# built program in a scratch folder, and everything it leaves behind must equal the case's
# expected/ folder byte for byte, file list included.
#
# A case is a folder holding
#   args       the matcher's arguments on one line, split at blanks; paths are relative to
#              the scratch folder, which holds examples/ (the repository's example pair)
#              and the case's input/ folder, if it has one
#   input/     input files of the case (optional)
#   expected/  stdout.txt (the console, processor times masked), stderr.txt, and
#              results/ with every result file of the run
# With --update the expected/ folders are written afresh instead of compared
# (tests/data/golden/update.sh).
# usage: GoldenRunTest.sh [--update] <source dir> <build dir>
source "$(dirname "$0")/../scripts/testlib.sh"
update=0
if [ "${1:-}" = "--update" ]; then
    update=1
    shift
fi
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
golden=$src/tests/data/golden
matcher=$build/graphmat
[ -x "$matcher" ] || { echo "no matcher at $matcher (build it first)" >&2; exit 2; }

# Processor times change from run to run: the total after "Time : " and the time at the
# end of each progress line of the search.
mask_times() {
    sed -E -e 's/^(Time : ).*$/\1<cpu seconds>/' \
           -e 's/,[0-9][0-9.e+-]*s $/,<cpu seconds>s /'
}

# run_case CASE_DIR OUT_DIR: runs the case in a fresh scratch folder and collects what it
# leaves in OUT_DIR; the status is the matcher's exit code.
run_case() {
    local dir=$1 out=$2 work args status
    work=$(mktemp -d "$scratch/run.XXXXXX")
    ln -s "$src/examples" "$work/examples"
    [ -d "$dir/input" ] && cp -R "$dir/input" "$work/input"
    read -r -a args <"$dir/args"
    mkdir -p "$out"
    (cd "$work" && "$matcher" "${args[@]}" >"$out/stdout.raw" 2>"$out/stderr.txt")
    status=$?
    mask_times <"$out/stdout.raw" >"$out/stdout.txt"
    rm "$out/stdout.raw"
    [ -d "$work/results" ] && cp -R "$work/results" "$out/results"
    return $status
}

cases=0
for dir in "$golden"/*/; do
    dir=${dir%/}
    [ -f "$dir/args" ] || continue
    name=${dir##*/}
    cases=$((cases + 1))
    out=$scratch/out/$name
    run_case "$dir" "$out"
    status=$?
    if [ "$status" != 0 ]; then
        fail "$name: graphmat $(cat "$dir/args") exited with $status: $(tail -2 "$out/stderr.txt")"
        continue
    fi
    if [ "$update" = 1 ]; then
        rm -rf "$dir/expected"
        cp -R "$out" "$dir/expected"
        echo "$name: $(find "$dir/expected" -type f | wc -l) file(s) written"
    elif ! diff -ru "$dir/expected" "$out" >"$scratch/diff" 2>&1; then
        # "Only in" lines name missing or extra files; the rest is a unified diff.
        fail "$name: the run differs from $dir/expected (- expected, + this run):"
        head -n 400 "$scratch/diff" >&2
        [ "$(wc -l <"$scratch/diff")" -le 400 ] || echo "(diff cut after 400 lines)" >&2
    fi
done
[ "$cases" -gt 0 ] || fail "no golden case (a folder with an args file) in $golden"
echo "$cases golden case(s) run"
finish
