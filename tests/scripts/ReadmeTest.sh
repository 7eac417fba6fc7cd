#!/usr/bin/env bash
# Runs every README command block marked runnable, so the README cannot drift from the
# programs. A block is marked by a line "<!-- runnable -->" right before its ```sh fence.
# The blocks run in order, each with bash -eu -o pipefail, in one scratch folder holding
# build/, examples/ and scripts/ as links to the real ones and the built programs on PATH.
# usage: ReadmeTest.sh <README.md> <build dir>
source "$(dirname "$0")/testlib.sh"
readme=$1 build=$2
src=$(cd "$(dirname "$readme")" && pwd)

# Each block goes to blocks/NNN_L.sh, L its first line in the README; a marker that is
# not followed by a ```sh fence is listed in blocks/orphans.
mkdir -p "$scratch/blocks" "$scratch/work"
awk -v out="$scratch/blocks" '
    { sub(/\r$/, "") }
    inblock && /^```/ { inblock = 0; close(file); next }
    inblock { print > file; next }
    marked && /^```sh[ \t]*$/ { n++; file = sprintf("%s/%03d_%d.sh", out, n, NR + 1); inblock = 1 }
    marked && !inblock { print marked_at > (out "/orphans") }
    { marked = ($0 ~ /^<!-- runnable -->[ \t]*$/); marked_at = NR }
' "$readme"

if [ -s "$scratch/blocks/orphans" ]; then
    fail "README.md line(s) $(tr '\n' ' ' <"$scratch/blocks/orphans"): runnable marker without a \`\`\`sh block after it"
fi
blocks=("$scratch"/blocks/*.sh)
[ -e "${blocks[0]}" ] || fail "no runnable block in README.md"

ln -s "$build" "$scratch/work/build"
ln -s "$src/examples" "$scratch/work/examples"
ln -s "$src/scripts" "$scratch/work/scripts"
export PATH="$build:$PATH"
for block in "${blocks[@]}"; do
    [ -e "$block" ] || continue
    line=${block##*_}
    line=${line%.sh}
    if ! (cd "$scratch/work" && bash -eu -o pipefail "$block") >"$scratch/block.log" 2>&1; then
        fail "README.md block at line $line failed: $(tail -2 "$scratch/block.log" | tr '\n' ' ')"
    fi
done
echo "${#blocks[@]} README block(s) run"
finish
