#!/usr/bin/env bash
# Runs radio-setup against a simulated transceiver, without touching the
# user's own port map.
#
#   scripts/demo.sh BUILD_DIR [--settings S] [more radio-sim options]
#
# Builds radio-sim, the pty shim and the tool in BUILD_DIR (configuring it
# first if needed), starts radio-sim as COM1 at S or, without --settings, at
# one of the 21 speed/parity combinations the tool can scan, chosen at random,
# and starts the tool with XDG_CONFIG_HOME at a throwaway folder and the shim
# preloaded. When the tool exits, the simulator is stopped and the folder
# removed; the simulator's traffic log is kept and its path printed.
#
# Environment: RADIO_SETUP runs another command in place of the tool (for
# trying the script out); DEMO_NO_BUILD=1 skips the build; DEMO_QUIET=1 does
# not echo the log to the terminal.
set -euo pipefail

usage() {
    echo "usage: $0 BUILD_DIR [--settings S] [radio-sim options]" >&2
    exit 2
}

[[ $# -ge 1 ]] || usage
build=$1
shift
settings=""
sim_args=()
while [[ $# -gt 0 ]]; do
    case $1 in
    --settings)
        [[ $# -ge 2 ]] || usage
        settings=$2
        shift 2
        ;;
    --ports-dir | --com)
        echo "$0: $1 is chosen by the demo" >&2
        exit 2
        ;;
    *)
        sim_args+=("$1")
        shift
        ;;
    esac
done

if [[ -z $settings ]]; then
    combos=()
    for speed in 1200 2400 4800 9600 19200 38400 57600; do
        for parity in N O E; do
            combos+=("$speed,$parity,8,1")
        done
    done
    settings=${combos[RANDOM % ${#combos[@]}]}
fi

source_dir=$(cd "$(dirname "$0")/.." && pwd)
tool=${RADIO_SETUP:-$build/bin/radio-setup}
if [[ ${DEMO_NO_BUILD:-0} != 1 ]]; then
    if [[ ! -f $build/CMakeCache.txt ]]; then
        cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
    fi
    targets=(radio-sim ptyshim)
    [[ -n ${RADIO_SETUP:-} ]] || targets+=(radio-setup)
    cmake --build "$build" --target "${targets[@]}"
fi
for f in "$build/bin/radio-sim" "$build/bin/libptyshim.so"; do
    [[ -e $f ]] || { echo "$0: $f is missing" >&2; exit 1; }
done

tmp=$(mktemp -d "${TMPDIR:-/tmp}/radio-demo-XXXXXX")
log=$tmp/radio-sim.log
sim_pid=""
tail_pid=""

cleanup() {
    if [[ -n $sim_pid ]] && kill -0 "$sim_pid" 2>/dev/null; then
        kill -TERM "$sim_pid" 2>/dev/null || true
        for _ in $(seq 30); do
            kill -0 "$sim_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$sim_pid" 2>/dev/null || true
    fi
    [[ -z $sim_pid ]] || wait "$sim_pid" 2>/dev/null || true
    [[ -z $tail_pid ]] || kill "$tail_pid" 2>/dev/null || true
    rm -rf "$tmp/radio-setup"
    echo "Simulator log kept in $log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$build/bin/radio-sim" --com 1 --ports-dir "$tmp/radio-setup/ports" --settings "$settings" \
    ${sim_args[@]+"${sim_args[@]}"} >"$log" 2>&1 &
sim_pid=$!

for _ in $(seq 50); do
    grep -q ' ready ' "$log" 2>/dev/null && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "$0: radio-sim did not start:" >&2
        cat "$log" >&2
        exit 1
    fi
    sleep 0.1
done
grep -q ' ready ' "$log" || { echo "$0: radio-sim did not get ready" >&2; exit 1; }

echo "Simulated transceiver on COM1 at $settings (the tool starts at 4800,N,8,1; use 检测设备 to find it)."
echo "Simulator log: $log"
if [[ ${DEMO_QUIET:-0} != 1 ]]; then
    tail -n +1 --pid="$sim_pid" -f "$log" | sed -u 's/^/[radio-sim] /' &
    tail_pid=$!
fi

status=0
XDG_CONFIG_HOME=$tmp LD_PRELOAD=$build/bin/libptyshim.so "$tool" || status=$?
exit "$status"
