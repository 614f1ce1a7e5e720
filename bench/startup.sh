#!/usr/bin/env bash
# Figures, not a pass/fail test. COM1 is a simulated transceiver that never
# answers, so no real port is touched and no box waits for a click.
#
# - start-up: from launch to the main window's first paint (offscreen), the
#   tool (startup_probe) against its floor (floor_probe: a bare Qt Widgets
#   window with the same controls), run alternately, RUNS times each
#   (default 10); medians and their ratio, and each run's ratio to the floor
#   run just before it: their median and spread;
# - peak resident memory of both at that first paint; medians and ratio;
# - CPU used by radio-setup idling for 10 s after start-up;
# - CPU per counted detection tick, over TICKS ticks (default 2000).
#
#   bench/startup.sh [build-dir]
set -euo pipefail
build=${1:-build}
runs=${RUNS:-10}
for exe in radio-setup radio-sim startup_probe floor_probe tick_probe; do
    [ -x "$build/bin/$exe" ] || { echo "build the $exe target in $build first" >&2; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
export LC_NUMERIC=C # $EPOCHREALTIME with a decimal point
tmp=$(mktemp -d)
export XDG_CONFIG_HOME=$tmp
"$build/bin/radio-sim" --ports-dir "$tmp/radio-setup/ports" --silent >"$tmp/sim.log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 50); do
    grep -q ' ready ' "$tmp/sim.log" && break
    sleep 0.1
done
grep -q ' ready ' "$tmp/sim.log" || { echo "radio-sim did not get ready" >&2; exit 1; }

# Prints "first paint: S s, peak resident: K KiB".
probe() { BENCH_T0=$EPOCHREALTIME "$build/bin/$1" 2>/dev/null; }
median() { # column $2 of file $1
    awk -v c="$2" '{ print $c }' "$1" | sort -g |
        awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

echo "load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
probe floor_probe >/dev/null # warm the file cache for both
probe startup_probe >/dev/null
for _ in $(seq "$runs"); do
    probe floor_probe >>"$tmp/floor"
    probe startup_probe >>"$tmp/tool"
done
# Each tool run is also set against the floor run just before it, which
# shared its moment's conditions on a busy machine.
paste "$tmp/tool" "$tmp/floor" | awk '{ print $3 / $11 }' >"$tmp/pairs"
awk -v t="$(median "$tmp/tool" 3)" -v f="$(median "$tmp/floor" 3)" -v p="$(median "$tmp/pairs" 1)" -v n="$runs" \
    'BEGIN { printf "start-up to first paint, median of %d: tool %.3f s, floor %.3f s, ratio %.2f (median of paired ratios %.2f)\n", n, t, f, t / f, p }'
# The spread of the paired ratios: min, quartiles (nearest rank), max.
sort -g "$tmp/pairs" | awk '{ v[NR] = $1 } END {
    q1 = v[int((NR + 3) / 4)]; q3 = v[int((3 * NR + 3) / 4)]
    printf "paired ratios: min %.2f, quartiles %.2f-%.2f, max %.2f\n", v[1], q1, q3, v[NR] }'
awk -v t="$(median "$tmp/tool" 7)" -v f="$(median "$tmp/floor" 7)" \
    'BEGIN { printf "peak resident memory at first paint: tool %.1f MiB, floor %.1f MiB, ratio %.2f\n", t / 1024, f / 1024, t / f }'

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
