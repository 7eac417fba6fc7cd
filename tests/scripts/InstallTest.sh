#!/usr/bin/env bash
# Installation into a scratch prefix: every program and script lands in bin/ and tells its
# version, the docs land under share/doc/graphmat/, and the installed matcher run on the
# installed examples writes the same result files as the build tree's matcher.
# usage: InstallTest.sh <cmake> <source dir> <build dir> <version> <program>... -- <script>...
source "$(dirname "$0")/testlib.sh"
cmake=$1 src=$2 build=$3 version=$4
shift 4
programs=() scripts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do programs+=("$1"); shift; done
[ $# -gt 0 ] && shift
scripts=("$@")

prefix="$scratch/prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    fail "cmake --install: $(tail -1 "$scratch/install.log")"

for name in "${programs[@]}" "${scripts[@]}"; do
    [ -x "$prefix/bin/$name" ] || fail "bin/$name not installed as an executable"
done
[ ! -e "$prefix/bin/install-deps" ] || fail "the machine set-up script was installed"
# Each program with an option syntax of its own answers --version with its name.
for name in graphmat graphmat-mces graphmat-gen; do
    expect_eq "$name --version" "$("$prefix/bin/$name" --version 2>&1)" "$name $version"
done

doc="$prefix/share/doc/graphmat"
cmp -s "$doc/README.md" "$src/README.md" || fail "README.md not installed under share/doc/graphmat"
for example in "$src"/examples/*.txt; do
    cmp -s "$doc/examples/${example##*/}" "$example" || fail "example ${example##*/} not installed"
done

# The same run of the installed matcher and of the build tree's one.
weights=(-d 1 -g 1 -e 1 -y 1 -c 0.5)
mkdir -p "$scratch/installed" "$scratch/built"
(cd "$scratch/installed" &&
    "$prefix/bin/graphmat" -o "$doc/examples/v1.txt" -n "$doc/examples/v2.txt" "${weights[@]}" >run.log 2>&1) ||
    fail "installed graphmat on the installed examples: exit code $?"
(cd "$scratch/built" &&
    "$build/graphmat" -o "$src/examples/v1.txt" -n "$src/examples/v2.txt" "${weights[@]}" >run.log 2>&1) ||
    fail "built graphmat on the examples: exit code $?"
[ -n "$(ls "$scratch/installed/results" 2>/dev/null)" ] || fail "installed graphmat wrote no result files"
diff -r "$scratch/installed/results" "$scratch/built/results" >"$scratch/results.diff" ||
    fail "installed and built matchers disagree: $(head -3 "$scratch/results.diff")"
# The renamed class of the example pair is found.
grep -q '"com.shop.service.PaymentGateway","com.shop.service.PaymentProcessor",Class' \
    "$scratch/installed/results/raw_v1__v2__1__1__1__1__0.5__1.csv" ||
    fail "installed run does not match PaymentGateway to PaymentProcessor"

finish
