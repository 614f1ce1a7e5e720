#!/usr/bin/env bash
# Start-up time to the main window, peak resident memory, and CPU used while
# idling for 10 s after start-up, for the built tool (offscreen). Figures,
# not a pass/fail test.
set -euo pipefail
build=${1:-build}
tool="$build/bin/radio-setup"
[ -x "$tool" ] || { echo "build $tool first" >&2; exit 1; }

export QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_CONFIG_HOME="$tmp" # no port mapped: start-up reports COM1 busy only if one exists

# Time to the first frame: the offscreen platform logs window exposure.
start=$(date +%s.%N)
QT_LOGGING_RULES="qt.qpa.offscreen.debug=false" "$tool" &
pid=$!
shown=""
for _ in $(seq 1 500); do
    # The window is shown once the process has mapped its fonts and settles.
    if grep -q "NotoSansCJK\|LiberationSans" "/proc/$pid/maps" 2>/dev/null; then
        shown=$(date +%s.%N)
        break
    fi
    sleep 0.01
done
sleep 1
cpu0=$(awk '{print $14+$15}' "/proc/$pid/stat")
sleep 10
cpu1=$(awk '{print $14+$15}' "/proc/$pid/stat")
rss=$(awk '/VmHWM/{print $2}' "/proc/$pid/status")
kill "$pid"; wait "$pid" 2>/dev/null || true

tick=$(getconf CLK_TCK)
printf 'time to window shown: %s s\n' "$(echo "${shown:-$start} - $start" | bc)"
printf 'peak resident memory: %s KiB\n' "$rss"
printf 'CPU while idle for 10 s: %s s\n' "$(echo "scale=2; ($cpu1 - $cpu0) / $tick" | bc)"
