#!/usr/bin/env bash
# Machine set-up script against stand-ins for dpkg-query, apt-get, id and sudo: what it
# asks apt for, what it prints, and how it fails.
# usage: InstallDepsTest.sh <source dir>
source "$(dirname "$0")/testlib.sh"
deps="$1/scripts/install-deps"

# Stand-ins: dpkg knows the packages listed in $scratch/installed; apt-get records its
# arguments in $scratch/apt.log and installs what it is asked for unless APT_FAILS is set.
stubs="$scratch/bin"
mkdir -p "$stubs"
cat >"$stubs/dpkg-query" <<'STUB'
#!/usr/bin/env bash
format="$2"; shift 2
rc=0
for p in "$@"; do
    if grep -qxF "$p" "$STATE/installed"; then
        case "$format" in *Status*) echo "$p ii " ;; *) printf '1.0-%s' "$p" ;; esac
    else
        echo "dpkg-query: no packages found matching $p" >&2; rc=1
    fi
done
exit $rc
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STATE/apt.log"
[ -z "${APT_FAILS:-}" ] || exit 100
if [[ " $* " == *" install "* ]]; then
    for a in "${@:7}"; do [[ $a == -* ]] || echo "$a" >>"$STATE/installed"; done
fi
STUB
printf '#!/bin/sh\necho "$FAKE_UID"\n' >"$stubs/id"
printf '#!/bin/sh\necho "sudo $*" >>"$STATE/apt.log"\n[ -z "$SUDO_WANTS_PASSWORD" ] || exit 1\nshift\nexec "$@"\n' >"$stubs/sudo"
chmod +x "$stubs"/*
export STATE="$scratch" PATH="$stubs:$PATH" FAKE_UID=0 SUDO_WANTS_PASSWORD=
unset GRAPHMAT_NO_INSTALL

all=$("$deps" --list build test)
# run NAME GROUP...: runs the script with the current machine state, keeping its output.
run() {
    local name=$1
    shift
    : >"$scratch/apt.log"
    "$deps" "$@" >"$scratch/$name.out" 2>"$scratch/$name.err" </dev/null
    echo $? >"$scratch/$name.rc"
}
result() { cat "$scratch/$1.$2"; }

# Everything present: silent, no apt at all.
echo "$all" >"$scratch/installed"
run present build test
expect_eq "all present: exit code" "$(result present rc)" 0
expect_eq "all present: output" "$(result present out)$(result present err)" ""
expect_eq "all present: apt calls" "$(cat "$scratch/apt.log")" ""

# Reporting only: one line naming the missing package, nothing installed.
grep -vx libgtest-dev <<<"$all" >"$scratch/installed"
GRAPHMAT_NO_INSTALL=1 run report build
expect_eq "report only: exit code" "$(result report rc)" 2
expect_eq "report only: stdout" "$(result report out)" ""
expect_eq "report only: lines" "$(result report err | wc -l)" 1
expect_match "report only: message" "$(result report err)" "missing Debian packages: libgtest-dev .*GRAPHMAT_NO_INSTALL=1"
expect_eq "report only: apt calls" "$(cat "$scratch/apt.log")" ""

# A group not asked for is not checked.
grep -vx chromium <<<"$all" >"$scratch/installed"
run build_only build
expect_eq "build group only: exit code" "$(result build_only rc)" 0
expect_eq "build group only: apt calls" "$(cat "$scratch/apt.log")" ""

# Installing as root: one update, one install of exactly the missing packages, one line each.
grep -vxE 'libgtest-dev|clang' <<<"$all" >"$scratch/installed"
run install build test
expect_eq "install: exit code" "$(result install rc)" 0
expect_eq "install: apt calls" "$(cut -d" " -f1,5- "$scratch/apt.log")" \
    "apt-get update
apt-get install -y --no-install-recommends libgtest-dev clang"
expect_eq "install: lines" "$(result install out)" \
    "install-deps: installed libgtest-dev 1.0-libgtest-dev
install-deps: installed clang 1.0-clang"
run again build test
expect_eq "second run: output" "$(result again out)$(result again err)" ""
expect_eq "second run: apt calls" "$(cat "$scratch/apt.log")" ""

# Not root: apt runs through sudo, which never waits for a password without a terminal.
grep -vx cmake <<<"$all" >"$scratch/installed"
FAKE_UID=1000 run sudo build
expect_eq "sudo: exit code" "$(result sudo rc)" 0
expect_match "sudo: non-interactive" "$(grep update "$scratch/apt.log")" "^sudo -n env DEBIAN_FRONTEND=noninteractive apt-get"
grep -vx cmake <<<"$all" >"$scratch/installed"
FAKE_UID=1000 SUDO_WANTS_PASSWORD=1 run password build
expect_eq "sudo wants a password: exit code" "$(result password rc)" 2
expect_match "sudo wants a password: message" "$(result password err)" "missing Debian packages: cmake \(sudo wants a password"
expect_eq "sudo wants a password: apt calls" "$(grep -c apt-get "$scratch/apt.log")" 0

# apt failing: one line naming the package and the log, and a failure exit.
grep -vx parallel <<<"$all" >"$scratch/installed"
APT_FAILS=1 run apt_fails build test
expect_eq "apt fails: exit code" "$(result apt_fails rc)" 2
expect_eq "apt fails: lines" "$(result apt_fails err | wc -l)" 1
expect_match "apt fails: message" "$(result apt_fails err)" "missing Debian packages: parallel \(apt-get update failed, see /"

# Bad group: usage error.
run bad_group build tset
expect_eq "bad group: exit code" "$(result bad_group rc)" 1
expect_match "bad group: message" "$(result bad_group err)" "unknown group 'tset'"

finish
