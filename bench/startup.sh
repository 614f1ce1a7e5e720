#!/usr/bin/env bash
# Figures, not a pass/fail test: time from process start to the main window's
# first frame (offscreen), peak resident memory, and CPU used while idling
# for 10 s after start-up, with COM1 mapped to nothing.
set -euo pipefail
build=${1:-build}
for exe in radio-setup startup_probe; do
    [ -x "$build/bin/$exe" ] || { echo "build the $exe target in $build first" >&2; exit 1; }
done

export QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME=$tmp

for _ in 1 2 3; do "$build/bin/startup_probe"; done

"$build/bin/radio-setup" &
pid=$!
sleep 2
cpu0=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep 10
cpu1=$(awk '{print $14 + $15}' "/proc/$pid/stat")
rss=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
kill "$pid"
wait "$pid" 2>/dev/null || true

echo "peak resident memory: $rss KiB"
awk -v t="$((cpu1 - cpu0))" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "CPU while idle for 10 s: %.2f s\n", t / hz }'
