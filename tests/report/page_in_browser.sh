#!/usr/bin/env bash
# Opens a change report page in headless Chromium: its script must draw one row per class
# entry, keep names as text, and a "#filter=" fragment must hide the rows that do not match.
# Usage: page_in_browser.sh BUILD_DIR SOURCE_DIR   (exit 77 = skipped)
set -euo pipefail
build=$1
root=$2
chromium=${CHROMIUM:-/usr/bin/chromium}
if [ ! -x "$chromium" ]; then
    echo "SKIPPED: no headless Chromium at $chromium (Debian package chromium); the page is not checked"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$build/graphmat" -o "$root/examples/v1.txt" -n "$root/examples/v2.txt" \
    -d 1 -g 1 -e 1 -y 1 -c 0.5 > run.log
run=results/v1__v2__1__1__1__1__0.5__1
fixture="$root/tests/data/report_awkward.changes.json"
"$build/graphmat-report" "$run.changes.json" "$fixture" -o page.html > /dev/null

# One entry per CSV row of the run, plus the three entries of the fixture.
expected=$(( $(wc -l < "$run.changes.csv") - 1 + 3 ))

browse() { # profile-name chromium-arguments...
    local profile="$work/profile-$1"
    shift
    timeout 120 "$chromium" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" "$@" 2> /dev/null
}
rows() { grep -o '<tr class="entry[^"]*"[^>]*>' "$1" | grep -vc 'hidden' || true; }

fail() { echo "FAILED: $*"; exit 1; }

browse all --dump-dom "file://$work/page.html" > all.html
[ "$(rows all.html)" -eq "$expected" ] || fail "$(rows all.html) rows drawn, $expected class entries"
grep -q '<img' all.html && fail "a class name became markup"
grep -qF 'p.A&lt;/script&gt;&lt;img id="injected" src=x&gt;' all.html || fail "the awkward name is not shown as text"
grep -qF '&lt;!--x() : void' all.html || fail "the member changes of an entry are not drawn"
grep -qF 'q.CaféÜber' all.html || fail "the non-ASCII name is not shown"
grep -q 'id="pair2"' all.html || fail "the second change file has no section"

browse filtered --dump-dom "file://$work/page.html#filter=payment" > filtered.html
[ "$(rows filtered.html)" -eq 1 ] || fail "$(rows filtered.html) rows left by the filter 'payment', expected 1"
grep -qF 'PaymentProcessor' filtered.html || fail "the filter hid the matching row"

browse shot --screenshot="$work/page.png" --window-size=1280,1600 "file://$work/page.html" > /dev/null
[ -s page.png ] || fail "no screenshot"
# Kept for a person to look at.
cp page.png "$build/report-page.png"
echo "page checked: $expected rows, filter leaves 1, screenshot $build/report-page.png"
