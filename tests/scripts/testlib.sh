# Shared scaffolding of the shell-level checks: a scratch folder removed on exit, and
# checks that name what went wrong and count the failures.
set -uo pipefail

scratch=$(mktemp -d "${TMPDIR:-/tmp}/graphmat-check.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
failures=0

# fail WHAT: records a failed check.
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# expect_eq WHAT ACTUAL EXPECTED
expect_eq() {
    [ "$2" = "$3" ] || fail "$1: got [$2], expected [$3]"
}

# expect_match WHAT TEXT EXTENDED-REGEX
expect_match() {
    grep -qE -- "$3" <<<"$2" || fail "$1: [$2] does not match /$3/"
}

# finish: the exit code of the check script.
finish() {
    [ "$failures" = 0 ] && echo "all checks passed" && exit 0
    echo "$failures check(s) failed" >&2
    exit 1
}
