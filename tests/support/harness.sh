# Shared helpers of the shell tests (placeholder until the harness lands).
failures=0
pass() { echo "ok   $*"; }
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
check_cmd() { local name=$1; shift; if "$@"; then pass "$name"; else fail "$name"; fi; }
finish() { [ "$failures" -eq 0 ]; exit $?; }
