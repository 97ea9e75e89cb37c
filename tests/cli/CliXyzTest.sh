#!/usr/bin/env bash
# tidemar-cli xyz: its options, and files it cannot play. (Recordings of the simulated
# head are profiled in tests/e2e/AutoProfileE2ETest.sh.)
# Usage: CliXyzTest.sh TIDEMAR-CLI SCRATCH-DIRECTORY
set -u
cli=$1
# shellcheck source=tests/support/harness.sh
source "$(dirname "$0")/../support/harness.sh"
harness_workdir "$2/xyz"

check "help" 0 "$(status_of "$cli" xyz --help)"
grep -q 'Usage: tidemar-cli xyz DATA.K7T... --out DIR' "$work/out" || check "help text" "usage line" "$(head -1 "$work/out")"
check "listed in the command help" 1 "$("$cli" --help | grep -c '^  xyz DATA.K7T... --out DIR')"

check "no data file" 2 "$(status_of "$cli" xyz --out "$work/o")"
check "no data file: message" "tidemar-cli: xyz needs a data file (try 'tidemar-cli --help')" "$(cat "$work/err")"
check "no --out" 2 "$(status_of "$cli" xyz "$work/a.K7T")"
check "no --out: message" "tidemar-cli: xyz needs --out DIR (try 'tidemar-cli --help')" "$(cat "$work/err")"
check "--out without a value" 2 "$(status_of "$cli" xyz "$work/a.K7T" --out)"
check "unknown option" 2 "$(status_of "$cli" xyz "$work/a.K7T" --out "$work/o" --fast)"
check "two data files" 2 "$(status_of "$cli" xyz a.K7T b.K7T --out "$work/o")"

check "missing data file" 2 "$(status_of "$cli" xyz "$work/missing.K7T" --out "$work/o")"
check "missing data file: no folder made" no "$([ -e "$work/o" ] && echo yes || echo no)"
head -c 300 /dev/urandom >"$work/junk.K7T"
check "a file with no record" 2 "$(status_of "$cli" xyz "$work/junk.K7T" --out "$work/o")"
check "a file with no record: nothing written" "" "$(cat "$work/out")"

finish
