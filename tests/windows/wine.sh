# Sourced by the tests under wine: a fresh wine prefix whose COM1 to COM4 are
# mapped in wine's registry to the links $WINEPREFIX/com1 to com4, pointed by
# each test at its radio-sim (from BUILD, the Linux build), and waits on the
# simulator's log.
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
winrun() { "$src/scripts/winrun" "$@"; }
fail() { echo "${0##*/}: $*" >&2; exit 1; }
[[ -x ${BUILD:-}/bin/radio-sim ]] || fail "BUILD names no Linux build with radio-sim: ${BUILD:-(unset)}"
sim_pid=
cleanup() { kill $sim_pid 2>/dev/null || true; wineserver -k && wineserver -w || true; rm -rf "$WINEPREFIX"; }

new_prefix() {
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d)
    trap cleanup EXIT
    winrun wineboot -i >/dev/null 2>&1 || fail "wineboot failed"
    for n in 1 2 3 4; do
        winrun wine reg add 'HKLM\Software\Wine\Ports' /v COM$n /t REG_SZ /d "$WINEPREFIX/com$n" /f >/dev/null
    done
    wineserver -w # the port map is read as the server starts
    # One server and its services for the whole test, started apart from the
    # output of the programs a test reads, which ctest would wait for.
    winrun wineserver -p </dev/null >/dev/null 2>&1 &
    winrun wineboot >/dev/null 2>&1
}

start_sim() { # radio-sim "$@" on COM1
    sim_log=$WINEPREFIX/sim.log
    "$BUILD/bin/radio-sim" --ports-dir "$WINEPREFIX/ports" "$@" >"$sim_log" &
    sim_pid=$!
    wait_log ' ready ' && ln -sfn "$WINEPREFIX/ports/com1" "$WINEPREFIX/com1"
}

# A minute at most for a line of the simulator's log: a busy machine only slows a test.
wait_log() {
    for _ in $(seq 600); do grep -q -- "$1" "$sim_log" && return 0; sleep 0.1; done
    fail "the simulator never logged: $1"
}
