#!/usr/bin/env bash
# Figures, not a pass/fail test: the window through EXCHANGES (default
# 10000) exchanges with radio-sim, reads and writes in turn, each box closed
# with a click (soakprobe.cpp), and its resident memory every 1,000. Exits
# non-zero when it grew by 1 MiB or more after the first 1,000.
#
# It runs on a display of its own (xvfb-run), where the desktop's theme puts
# icons on dialog buttons as on a technician's desktop; offscreen draws none.
#
#   bench/soak.sh [build-dir]      the Linux window, from an unsanitized build
#   WINDOWS_BUILD=… WINEPATH='<Qt bin>;<compiler DLLs>' bench/soak.sh [build-dir]
#                                  the Windows one under wine; build-dir gives radio-sim
set -euo pipefail
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s '-screen 0 1280x1024x24' "$0" "$@"
BUILD=$(cd "${1:-build}" && pwd)
exchanges=${EXCHANGES:-10000}
unset QT_QPA_PLATFORM
for exe in "$BUILD/bin/radio-sim" "${WINDOWS_BUILD:-$BUILD}/bin/soak_probe"*; do
    [ -x "$exe" ] || { echo "build $exe first" >&2; exit 1; }
done

if [ -n "${WINDOWS_BUILD:-}" ]; then
    export BUILD
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d} # no menus or icons in $HOME
    . "$(dirname "$0")/../tests/windows/wine.sh"
    new_prefix
    # Without a window manager wine waits up to two seconds for one to take
    # each closed box's window away; windows of their own do not wait.
    winrun wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
    start_sim --settings 4800,N,8,1
    echo "soak under wine: $exchanges exchanges"
    # A program under wine opens files through the wine server, so its
    # /proc/self is the server's: the figures are read here instead, off the
    # probe's own process in this prefix, as each 1,000 comes.
    rss() {
        local p
        for p in $(pgrep -x soak_probe.exe); do
            tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
                awk '/^VmRSS:/ { printf "%.2f", $2 / 1024 }' "/proc/$p/status" && return
        done
    }
    LD_PRELOAD=$BUILD/bin/libptyshim.so winrun wine "$WINDOWS_BUILD/bin/soak_probe.exe" "$exchanges" |
        while read -r n rest; do
            [[ $rest == exchanges:* ]] || continue
            now=$(rss)
            [[ $n == 1000 ]] && first=$now
            echo "$n exchanges: resident $now MiB"
            [[ $n != "$exchanges" ]] || awk -v a="$first" -v b="$now" 'BEGIN { print b - a }' >"$WINEPREFIX/growth"
        done || true # the probe's own verdict is the server's
    [ -s "$WINEPREFIX/growth" ] || { echo "the soak did not finish" >&2; exit 1; }
    awk '{ printf "growth after the first 1000: %.2f MiB\n", $1; exit $1 >= 1 }' "$WINEPREFIX/growth"
    exit
fi

. "$(dirname "$0")/lib.sh"
build=$BUILD
export XDG_CONFIG_HOME=$tmp
sim_start "$tmp/sim.log" --ports-dir "$tmp/radio-setup/ports" --settings 4800,N,8,1
echo "soak on Linux: $exchanges exchanges"
"$BUILD/bin/soak_probe" "$exchanges" 2>/dev/null
