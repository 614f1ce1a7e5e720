# Sourced by the tests under wine. A wine prefix of the test's own, whose COM1
# is mapped in wine's registry to the link "$WINEPREFIX/com1", which each test
# points at its radio-sim; and waits on the simulator's log. Needs BUILD, the
# Linux build with radio-sim and the pty shim.
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
winrun() { "$src/scripts/winrun" "$@"; }
fail() { echo "${0##*/}: $*" >&2; exit 1; }
sim_pid=
# Ends what the test started: its simulator, its prefix's programs, its files.
cleanup() { [[ -z $sim_pid ]] || kill "$sim_pid"; wineserver -k || true; rm -rf "$WINEPREFIX"; }

# A fresh prefix in a new temporary folder. Wine reads the port map as the
# prefix's server starts, so that one is left to end first.
new_prefix() {
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d)
    trap cleanup EXIT
    winrun wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
    winrun wine reg add 'HKLM\Software\Wine\Ports' /v COM1 /t REG_SZ /d "$WINEPREFIX/com1" /f >/dev/null
    wineserver -w
    # One server for the test and its services started now, apart from the
    # output of any program a test reads: ctest would wait for them to end.
    winrun wineserver -p </dev/null >/dev/null 2>&1 &
    winrun wineboot >/dev/null 2>&1
}

# radio-sim with the given arguments on COM1; its log in $sim_log.
start_sim() {
    sim_log=$WINEPREFIX/sim.log
    "$BUILD/bin/radio-sim" --ports-dir "$WINEPREFIX/ports" "$@" >"$sim_log" &
    sim_pid=$!
    wait_log ' ready ' && ln -sfn "$WINEPREFIX/ports/com1" "$WINEPREFIX/com1"
}

# Waits for a line of the simulator's log matching $1: a minute at most, so
# that a busy machine only slows the test.
wait_log() {
    for _ in $(seq 600); do grep -q -- "$1" "$sim_log" && return 0; sleep 0.1; done
    fail "the simulator never logged: $1"
}
