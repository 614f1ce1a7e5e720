#!/usr/bin/env bash
# Figures, not a pass/fail test. COM1 is a simulated transceiver that never
# answers, so no real port is touched and no box waits for a click.
#
# - start-up on two paths: "COM1 linked" (a comN link to radio-sim's
#   pseudo-terminal) and "COM1 is the system's first port" (no link: COM1
#   resolves to the first serial device the system has). For the second,
#   which needs root, the probes run in a private mount namespace
#   (unshare -m) in which radio-sim's pseudo-terminal is bind-mounted over
#   the device node of every serial device the system has, so the port the
#   tool opens, and any it might look at, is the silent simulator;
# - on each path, the tool (startup_probe) against its floor (floor_probe:
#   a bare Qt Widgets window with the same controls), run alternately, RUNS
#   times each (default 10): the time from launch to the first paint and
#   for the whole process (launch until the probe has exited after its first
#   paint); medians, their ratio, and the median and spread of each tool
#   run's ratio to the floor run just before it;
# - peak resident memory of both at that first paint; medians and ratio;
# - CPU used by radio-setup idling for 10 s after start-up;
# - CPU per counted detection tick, over TICKS ticks (default 2000).
# The serial lock files are kept in memory, as on a desktop (see below).
#
#   bench/startup.sh [build-dir]
set -euo pipefail
runs=${RUNS:-10}

# Qt Serial Port keeps a lock file in /run/lock for each open port, and syncs
# it. Debian mounts /run in memory; a container may leave it on disk, where
# each of the window's three start-up opens then waits for the disk. As
# root, the runs then get a /run/lock of their own in memory, as a desktop
# has it.
if [ -z "${BENCH_LOCKS:-}" ] && [ "$(stat -f -c %T /run/lock)" != tmpfs ] && [ "$(id -u)" = 0 ] &&
    unshare -m --propagation private true 2>/dev/null; then
    BENCH_LOCKS="in memory (a tmpfs of the bench's own over /run/lock, which is on $(stat -f -c %T /run/lock) here)" \
        exec unshare -m --propagation private sh -c 'mount -t tmpfs -o mode=1777 tmpfs /run/lock && exec "$0" "$@"' "$0" "$@"
fi

export QT_QPA_PLATFORM=offscreen
export LC_NUMERIC=C # $EPOCHREALTIME with a decimal point
. "$(dirname "$0")/lib.sh"
bench_build "${1:-build}" radio-setup radio-sim startup_probe floor_probe tick_probe
export XDG_CONFIG_HOME=$tmp
sim_start "$tmp/sim.log" --ports-dir "$tmp/radio-setup/ports" --silent
pty=$(readlink -f "$tmp/radio-setup/ports/com1")

# Prints "first paint: S s, peak resident: K KiB, whole: W s".
probe() {
    local t0=$EPOCHREALTIME out
    out=$(BENCH_T0=$t0 "$build/bin/$1" 2>/dev/null)
    awk -v out="$out" -v t0="$t0" -v t1="$EPOCHREALTIME" 'BEGIN { printf "%s, whole: %.4f s\n", out, t1 - t0 }'
}
median() { # column $2 of file $1
    awk -v c="$2" '{ print $c }' "$1" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}
spread() { # of the numbers in file $1: min, quartiles (nearest rank), max
    sort -g "$1" | awk '{ v[NR] = $1 } END {
        printf "min %.2f, quartiles %.2f-%.2f, max %.2f", v[1], v[int((NR + 3) / 4)], v[int((3 * NR + 3) / 4)], v[NR] }'
}

# Runs the pairs and prints the figures of path $1.
pairs() {
    rm -f "$tmp/floor" "$tmp/tool"
    probe floor_probe >/dev/null # warm the file cache for both
    probe startup_probe >/dev/null
    for _ in $(seq "$runs"); do
        probe floor_probe >>"$tmp/floor"
        probe startup_probe >>"$tmp/tool"
    done
    echo "$1, median of $runs paired runs:"
    local measure column
    for measure in "first paint:3" "whole process:10"; do
        column=${measure##*:}
        # Each tool run is also set against the floor run just before it,
        # which shared its moment's conditions on a busy machine.
        paste "$tmp/tool" "$tmp/floor" | awk -v c="$column" '{ print $c / $(c + 11) }' >"$tmp/pairs"
        awk -v m="${measure%:*}" -v t="$(median "$tmp/tool" "$column")" -v f="$(median "$tmp/floor" "$column")" \
            -v p="$(median "$tmp/pairs" 1)" -v s="$(spread "$tmp/pairs")" \
            'BEGIN { printf "  %s: tool %.3f s, floor %.3f s, ratio %.2f; paired ratios: median %.2f, %s\n", m, t, f, t / f, p, s }'
    done
    awk -v t="$(median "$tmp/tool" 7)" -v f="$(median "$tmp/floor" 7)" \
        'BEGIN { printf "  peak resident memory at first paint: tool %.1f MiB, floor %.1f MiB, ratio %.2f\n", t / 1024, f / 1024, t / f }'
}

# Inside the private mount namespace (see below): nothing is linked, and
# every serial device node of the system is the simulator's pseudo-terminal.
if [ "${BENCH_SYSTEM_PORT:-}" = 1 ]; then
    bound=()
    for node in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/ttyAMA* /dev/rfcomm*; do
        [ -c "$node" ] || continue
        mount --bind "$pty" "$node"
        bound+=("$node")
    done
    [ ${#bound[@]} -gt 0 ] || { echo "COM1 is the system's first port: skipped, the system has no serial device"; exit 0; }
    rm -rf "$tmp/radio-setup"
    pairs "COM1 is the system's first port (radio-sim's pseudo-terminal over ${bound[*]})"
    exit 0
fi

echo "load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "serial lock files: ${BENCH_LOCKS:-on $(stat -f -c %T /run/lock)}"
pairs "COM1 linked"
if [ "$(id -u)" = 0 ] && unshare -m --propagation private true 2>/dev/null; then
    BENCH_SYSTEM_PORT=1 unshare -m --propagation private "$0" "$build"
else
    echo "COM1 is the system's first port: skipped, needs root for a private mount namespace"
fi
"$build/bin/radio-setup" 2>/dev/null &
pid=$!
sleep 2
cpu0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep 10
cpu1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2>/dev/null || true
awk -v t="$((cpu1 - cpu0))" -v hz="$(getconf CLK_TCK)" -v rss="$rss" \
    'BEGIN { printf "radio-setup idling for 10 s: %.2f s CPU, peak resident %.1f MiB\n", t / hz, rss / 1024 }'

"$build/bin/tick_probe" "${TICKS:-2000}" 2>/dev/null
