#!/usr/bin/env bash
# Figures, not a pass/fail test: `radioctl find` against 8 radio-sim units on
# COM1 to COM8, COM1's at the last of the scan's settings (57600,E,8,1), next
# to one `radioctl detect` of that unit alone, and to `find` with COM1 its only
# port, each from a cold start with nothing remembered, taking turns in one
# run. The goal: find on 8 ports at most 1.2x the detect, and no slower than on
# one port. Usage: bench/radioctl-find.sh [build-dir] [runs]
set -euo pipefail
runs=${2:-5}
. "$(dirname "$0")/lib.sh"
bench_build "${1:-build}" radioctl radio-sim libptyshim.so
settings=(57600,E,8,1 1200,N,8,1 2400,O,8,1 4800,E,8,1 9600,N,8,1 19200,O,8,1 38400,E,8,1 57600,N,8,1)
for n in $(seq 8); do
    XDG_CONFIG_HOME=$tmp/config sim_start "$tmp/sim$n.log" --com "$n" --settings "${settings[n-1]}"
done
# COM1 alone: a ports folder with only its link.
mkdir -p "$tmp/alone/radio-setup/ports"
cp -P "$tmp/config/radio-setup/ports/com1" "$tmp/alone/radio-setup/ports/"

# Seconds one command takes, each run with a state folder of its own.
timed() {
    local config=$1; shift
    local start end
    start=$(date +%s%N)
    # A sanitized build has the shim ahead of its runtime.
    ASAN_OPTIONS=verify_asan_link_order=0 XDG_CONFIG_HOME=$config XDG_STATE_HOME=$tmp/state$RANDOM$RANDOM \
        LD_PRELOAD=$build/bin/libptyshim.so "$build/bin/radioctl" "$@" > "$tmp/out" 2> "$tmp/err" ||
        { cat "$tmp/err" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

: > "$tmp/detect"; : > "$tmp/find1"; : > "$tmp/find8"
for run in $(seq "$runs"); do
    timed "$tmp/config" detect --port COM1 >> "$tmp/detect"
    grep -qx 57600,E,8,1 "$tmp/out" || { echo "detect did not find COM1's unit" >&2; exit 1; }
    timed "$tmp/alone" find >> "$tmp/find1"
    timed "$tmp/config" find >> "$tmp/find8"
    [ "$(wc -l < "$tmp/out")" = 8 ] || { echo "find did not find all 8 units:" >&2; cat "$tmp/out" >&2; exit 1; }
    echo "run $run: detect $(tail -1 "$tmp/detect") ms, find on 1 port $(tail -1 "$tmp/find1") ms, on 8 ports $(tail -1 "$tmp/find8") ms"
done
detect=$(median < "$tmp/detect"); find1=$(median < "$tmp/find1"); find8=$(median < "$tmp/find8")
awk -v d="$detect" -v f1="$find1" -v f8="$find8" 'BEGIN {
    printf "median: detect %d ms, find on 1 port %d ms, on 8 ports %d ms\n", d, f1, f8
    printf "find on 8 ports / detect: %.2f (goal <= 1.20); 8 ports / 1 port: %.2f\n", f8 / d, f8 / f1 }'
