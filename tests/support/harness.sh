# shellcheck shell=bash
# Shared plumbing of the shell tests, the benchmarks and the run scripts. Source it:
#     source "$(dirname "$0")/../support/harness.sh"
# It works under `set -euo pipefail` as well as without it, and installs an EXIT trap of
# its own (add to it with harness_on_exit, never with trap).
#
# Results (failures counted in $failures):
#   pass MSG                      prints "ok   MSG"
#   fail MSG                      prints "FAIL MSG" and counts it
#   check NAME EXPECTED ACTUAL    string compare; prints both on failure
#   check_cmd NAME CMD...         passes when CMD exits 0
#   status_of CMD...              prints CMD's exit status; its output in $work/out and
#                                 $work/err
#   check_status NAME STATUS CMD...  status_of CMD compared with STATUS
#   finish                        prints a summary line; exits 0 when something was checked
#                                 and nothing failed, 1 otherwise
#
# Folder and processes:
#   harness_workdir [DIR]         sets $work: a new temporary folder, or DIR made afresh;
#                                 removed on exit (kept and named when TIDEMAR_KEEP_WORK=1).
#                                 A script that keeps its files sets work=DIR itself: the
#                                 helpers below only write into $work.
#   track PID                     a child killed on exit, with everything it started
#   harness_on_exit CMD           CMD (a string for eval) runs on exit, after the children
#                                 are gone and before $work is removed
#   wait_until SECONDS CMD...     polls CMD every 0.05 s for whole SECONDS; status 0 once
#                                 it succeeds, CMD's last status otherwise
#   stopped PID                   status 0 once PID no longer runs (for wait_until)
#   grown_to FILE BYTES           status 0 once FILE holds at least BYTES (for wait_until)
#
# The simulated head and other helpers:
#   is_loopback ADDRESS           status 0 for a dotted address in 127.0.0.0/8
#   start_head NAME ADDRESS [tidemar-headsim options...]
#                                 starts $HEADSIM on ADDRESS (loopback only) with the options
#                                 of the array $head_options and then the given ones, its
#                                 stderr in $work/NAME.err, its pid in $head_pid; with
#                                 head_logs=1 it logs the blocks it receives to $work/NAME.log.
#                                 Waits (at most $HARNESS_START_SECONDS, default 5 s) until
#                                 it listens, or refuses with --refuse; status 1, with its
#                                 stderr shown, when it does not.
#   start_pty_pair NAME LINK-A LINK-B
#                                 a socat pseudo-terminal pair with links LINK-A and LINK-B,
#                                 its stderr in $work/NAME.err, waited for like a head
#   write_settings FILE ADDRESS [KEY=VALUE...]
#                                 a TIDEMAR.INI: [Settings], IPAddress_Sonar1=ADDRESS
#                                 (loopback only) and the keys in order, CR LF lines
#   repeated_pings FILE           how many records of the data file repeat the record before
#                                 (same time and head position: one ping twice), by $CLI

failures=0
checks=0
work=${work:-}
head_pid=""
head_options=()
head_logs=0
harness_pids=()
harness_exit_commands=()
harness_own_work=""

pass() { echo "ok   $*"; checks=$((checks + 1)); }
fail() { echo "FAIL $*"; checks=$((checks + 1)); failures=$((failures + 1)); }

check() {  # NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        pass "$1"
    else
        fail "$1"; echo "  expected: $2"; echo "  actual:   $3"
    fi
}

check_cmd() {  # NAME CMD...
    local name=$1; shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

status_of() {  # CMD...
    local status=0
    "$@" >"$work/out" 2>"$work/err" || status=$?
    echo "$status"
}

check_status() {  # NAME STATUS CMD...
    local name=$1 want=$2; shift 2
    check "$name (exit status)" "$want" "$(status_of "$@")"
}

finish() {
    if [ "$checks" -eq 0 ]; then
        echo "== no checks ran"; exit 1
    fi
    echo "== $((checks - failures)) passed, $failures failed"
    [ "$failures" -eq 0 ] && exit 0
    exit 1
}

harness_workdir() {  # [DIR]
    if [ $# -gt 0 ]; then
        case $1 in ""|/) echo "harness_workdir: no folder given" >&2; exit 2 ;; esac
        rm -rf "$1"
        mkdir -p "$1"
        work=$(cd "$1" && pwd)
    else
        work=$(mktemp -d)
    fi
    harness_own_work=$work
}

track() { harness_pids+=("$@"); }

harness_on_exit() { harness_exit_commands+=("$1"); }

wait_until() {  # SECONDS CMD...
    local tries=$(($1 * 20)); shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.05
        tries=$((tries - 1))
    done
    "$@"
}

stopped() { ! kill -0 "$1" 2>/dev/null; }

grown_to() { [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge "$2" ]; }

# The given processes and all their descendants, read from /proc (no procps needed).
harness_family() {
    cat /proc/[0-9]*/stat 2>/dev/null | awk -v roots="$*" '
        BEGIN { n = split(roots, r, " "); for (i = 1; i <= n; i++) keep[r[i]] = 1 }
        { pid = $1; sub(/.*\) /, ""); parent[pid] = $2 }
        END {
            for (grew = 1; grew; ) {
                grew = 0
                for (p in parent) if (!(p in keep) && (parent[p] in keep)) { keep[p] = 1; grew = 1 }
            }
            for (p in keep) print p
        }'
}

harness_exit() {
    local status=$? pid alive family
    set +e
    if [ ${#harness_pids[@]} -gt 0 ]; then
        # Everything a child started goes too: a grandchild left behind would hold the
        # output pipe of whoever runs the script (CTest waits for it for ever).
        family=$(harness_family "${harness_pids[@]}")
        for pid in $family; do kill -TERM "$pid" 2>/dev/null; done
        for _ in $(seq 40); do
            alive=""
            for pid in $family; do kill -0 "$pid" 2>/dev/null && alive+=" $pid"; done
            [ -z "$alive" ] && break
            sleep 0.05
        done
        for pid in $alive; do kill -KILL "$pid" 2>/dev/null; done
        for pid in "${harness_pids[@]}"; do wait "$pid" 2>/dev/null; done
    fi
    local command
    for command in "${harness_exit_commands[@]}"; do eval "$command"; done
    if [ -n "$harness_own_work" ]; then
        if [ "${TIDEMAR_KEEP_WORK:-0}" = 1 ]; then
            echo "== work folder kept: $harness_own_work"
        else
            cd / && rm -rf "$harness_own_work"
        fi
    fi
    exit "$status"
}
trap harness_exit EXIT
# The EXIT trap runs on these signals too, so nothing is left running after an interrupt.
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

is_loopback() {  # ADDRESS
    local IFS=. octets
    [[ $1 =~ ^127\.[0-9]{1,3}\.[0-9]{1,3}\.[0-9]{1,3}$ ]] || return 1
    read -r -a octets <<<"$1"
    local octet
    for octet in "${octets[@]}"; do [ $((10#$octet)) -le 255 ] || return 1; done
}

harness_said() {  # FILE PATTERN
    grep -q -E "$2" "$1" 2>/dev/null
}

start_head() {  # NAME ADDRESS [tidemar-headsim options...]
    local name=$1 address=$2; shift 2
    if ! is_loopback "$address"; then
        echo "start_head $name: $address is not a loopback address (127.0.0.0/8); not started" >&2
        return 2
    fi
    [ -n "${HEADSIM:-}" ] || { echo "start_head $name: HEADSIM is not set" >&2; return 2; }
    local err=$work/$name.err
    [ "$head_logs" = 1 ] && set -- --log "$work/$name.log" "$@"
    "$HEADSIM" --address "$address" "${head_options[@]}" "$@" 2>"$err" &
    head_pid=$!
    track "$head_pid"
    # Exact lines: the error of a non-loopback address also begins with "refusing".
    local ready='^tidemar-headsim: (listening|refusing connections) on '
    local tries=$((${HARNESS_START_SECONDS:-5} * 20))
    while [ "$tries" -gt 0 ]; do
        harness_said "$err" "$ready" && return 0
        kill -0 "$head_pid" 2>/dev/null || break
        sleep 0.05
        tries=$((tries - 1))
    done
    harness_said "$err" "$ready" && return 0
    echo "head $name did not start on $address:"; cat "$err"
    return 1
}

start_pty_pair() {  # NAME LINK-A LINK-B
    local name=$1 a=$2 b=$3
    local err=$work/$name.err
    socat -d -d "pty,raw,echo=0,link=$a" "pty,raw,echo=0,link=$b" 2>"$err" &
    local pid=$!
    track "$pid"
    local tries=$((${HARNESS_START_SECONDS:-5} * 20))
    while [ "$tries" -gt 0 ]; do
        [ -e "$a" ] && [ -e "$b" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
        tries=$((tries - 1))
    done
    [ -e "$a" ] && [ -e "$b" ] && return 0
    echo "socat $name did not start:"; cat "$err"
    return 1
}

write_settings() {  # FILE ADDRESS [KEY=VALUE...]
    local file=$1 address=$2; shift 2
    if ! is_loopback "$address"; then
        echo "write_settings $file: $address is not a loopback address (127.0.0.0/8)" >&2
        return 2
    fi
    local pair
    for pair in "$@"; do
        if [[ $pair != [A-Za-z]*=* ]]; then
            echo "write_settings $file: \"$pair\" is not KEY=VALUE" >&2; return 2
        fi
        if [[ ${pair%%=*} =~ ^[Ii][Pp][Aa][Dd][Dd][Rr][Ee][Ss][Ss]_[Ss][Oo][Nn][Aa][Rr] ]]; then
            echo "write_settings $file: the head address is the second argument, not $pair" >&2; return 2
        fi
    done
    { printf '[Settings]\r\nIPAddress_Sonar1=%s\r\n' "$address"
      for pair in "$@"; do printf '%s\r\n' "$pair"; done
    } >"$file"
}

repeated_pings() {  # FILE
    "$CLI" dump "$1" |
        sed -E 's/.*"TimeText":"([^"]*)".*"Hundredths":([0-9]+).*"HeadPosition":([0-9]+).*/\1.\2 \3/' |
        uniq -d | wc -l
}
