#!/usr/bin/env bash
# Figures, not a pass/fail test: how long `radioctl detect` takes to find a
# unit at the last of the scan's settings (57600,E,8,1) from a cold start,
# nothing remembered, against radio-sim; next to the floor, the line time of
# every probe's request and reply, and that floor plus the probe margin.
# The goal is at most 3 s. Usage: bench/radioctl-detect.sh [build-dir] [runs]
set -euo pipefail
runs=${2:-5}
. "$(dirname "$0")/lib.sh"
bench_build "${1:-build}" radioctl radio-sim libptyshim.so
export XDG_CONFIG_HOME=$tmp/config
sim_start "$tmp/sim.log" --settings 57600,E,8,1

for run in $(seq "$runs"); do
    start=$(date +%s%N)
    XDG_STATE_HOME=$tmp/state$run LD_PRELOAD=$build/bin/libptyshim.so \
        "$build/bin/radioctl" detect > "$tmp/found" 2> "$tmp/progress"
    end=$(date +%s%N)
    awk -v ns=$((end - start)) -v found="$(cat "$tmp/found")" \
        'BEGIN { printf "run %d: found at %s in %.3f s\n", '"$run"', found, ns / 1e9 }'
done

# The settings radioctl probed, from its progress lines ("探测 1200,N,8,1（1/21）"):
# each probe is a 3-byte request and a 12-byte reply, 10 bits a byte plus one
# for parity.
margin=$("$build/bin/radioctl" --help | sed -n 's/.*--probe-margin \([0-9]*\).*/\1/p')
sed -n 's/^探测 \([0-9]*\),\([NOE]\),.*/\1 \2/p' "$tmp/progress" | awk -v margin="$margin" '
    { s += 15 * ($2 == "N" ? 10 : 11) / $1; n++ }
    END { printf "line time of %d probes: %.3f s; with a %d ms margin each: %.3f s\n", n, s, margin, s + n * margin / 1000 }'
