#!/usr/bin/env bash
# tidemar --help and --version answer, and a usage error is told, without a display: DISPLAY,
# WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset, so opening one would fail.
# Usage: WindowOptionsTest.sh TIDEMAR VERSION
set -u
window=$1
version=$2
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# NAME EXPECTED-FIRST-LINE OPTIONS...: exit status 0, nothing on stderr, no settings written.
answers() {
    local name=$1 first=$2 status=0; shift 2
    mkdir -p "$work/$name"
    (cd "$work/$name" && exec "$window" "$@") >"$work/$name.out" 2>"$work/$name.err" || status=$?
    check "$name: exit status" 0 "$status"
    check "$name: first line" "$first" "$(head -n 1 "$work/$name.out")"
    check "$name: stderr" "" "$(cat "$work/$name.err")"
    [ ! -e "$work/$name/TIDEMAR.INI" ] && pass "$name: no window ran" || fail "$name: settings were written"
}

answers version "tidemar $version" --version
answers help "Usage: tidemar [--screenshot FILE.png] [--quit-after SECONDS]" --help
answers help-after-options "Usage: tidemar [--screenshot FILE.png] [--quit-after SECONDS]" --quit-after 5 --help
# NAME EXPECTED-STDERR-LINE OPTIONS...: a usage error, told before any display is opened.
refuses() {
    local name=$1 said=$2 status=0; shift 2
    mkdir -p "$work/$name"
    (cd "$work/$name" && exec "$window" "$@") >"$work/$name.out" 2>"$work/$name.err" || status=$?
    check "$name: exit status" 2 "$status"
    check "$name: stderr" "tidemar: $said" "$(head -n 1 "$work/$name.err")"
    [ ! -e "$work/$name/TIDEMAR.INI" ] && pass "$name: no window ran" || fail "$name: settings were written"
}

refuses unknown "unknown argument '--bogus'" --bogus
refuses no-seconds "--quit-after needs a number of seconds above 0" --quit-after 2x
refuses no-value "an option needs a value" --quit-after
refuses screenshot-alone "--screenshot needs --quit-after SECONDS" --screenshot a.png
grep -q -- "--version" "$work/help.out" && pass "help names --version" || fail "help names --version"

finish
