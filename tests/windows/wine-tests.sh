#!/usr/bin/env bash
# The Windows build's tests under wine and Xvfb: the unit suites, radioctl.exe
# and radio-setup.exe against radio-sim. BUILD is the Linux build.
#   BUILD=… WINDOWS_BUILD=… WINEPATH='<Qt bin>;<compiler DLLs>' xvfb-run -a tests/windows/wine-tests.sh
set -euo pipefail
. "$(dirname "$0")/wine.sh"
new_prefix
(cd "$WINDOWS_BUILD" && WINEQT_QPA_PLATFORM=offscreen ctest --output-on-failure -L unit -j2)

# Detection at the last setting, then read --json at the settings kept in
# %LOCALAPPDATA%, as radioctl_tests' FindsAUnit… does; that case also wants no
# DTR drop in the log, but Qt on Windows puts the old DTR back as it closes.
shim=$BUILD/bin/libptyshim.so
radioctl() { LD_PRELOAD=$shim winrun wine "$WINDOWS_BUILD/bin/radioctl.exe" "$@"; }
start_sim --settings 57600,E,8,1 --tx 433000 --rx 433500 --byte 0xD2
[[ $(radioctl detect --probe-margin 250) == 57600,E,8,1 ]] || fail "detect did not find 57600,E,8,1"
[[ $(radioctl read --json) == '{"tx_hz": 433000, "rx_hz": 433500, "interface_rate": 57600, '`
    `'"channel_rate": 19200, "parity": "even"}' ]] || fail "read --json differs from the unit"
kill "$sim_pid"

# Writes read back (one field kept, a difference told), activation followed,
# a silent unit, a missing profile (not find: wine lists its ports as on-board;
# nor an endless profile: /dev/zero is a Linux device).
RADIOCTL_LAUNCHER=$src/tests/windows/radioctl-wine.sh RADIOCTL_EXE=$WINDOWS_BUILD/bin/radioctl.exe \
    "$BUILD/bin/radioctl_tests" --gtest_filter='Radioctl/Outcomes.*:-*AMissingDevice*:*FindingNoUnit*:*EndlessProfile*'

# Ctrl-C, which wine turns a SIGINT into: the port closed, exit 130.
start_sim --settings 4800,N,8,1 --silent
LD_PRELOAD=$shim "$src/scripts/winrun" wine "$WINDOWS_BUILD/bin/radioctl.exe" read --settings 4800,N,8,1 --timeout 60000 &
wait_log 'request read'
kill -INT $!
code=0 && wait $! || code=$?
[[ $code == 130 ]] || fail "Ctrl-C: exit $code"
wait_log ' close'
kill "$sim_pid"

# find: units on COM1, COM3 and COM4 at three settings, nothing behind COM2,
# all found in one run. Wine's ports have no USB vendor, hence --all.
sim_pid=
for unit in 1:1200,E,8,1 3:2400,N,8,1 4:1200,N,8,1; do
    n=${unit%%:*}
    sim_log=$WINEPREFIX/sim$n.log
    "$BUILD/bin/radio-sim" --ports-dir "$WINEPREFIX/ports" --com "$n" --settings "${unit#*:}" >"$sim_log" &
    sim_pid="$sim_pid $!"
    wait_log ' ready ' && ln -sfn "$WINEPREFIX/ports/com$n" "$WINEPREFIX/com$n"
done
found=$(radioctl find --all --probe-margin 1000 2>/dev/null) || fail "find: exit $?"
[[ $found == $'COM1  \\\\.\\COM1  1200,E,8,1\nCOM3  \\\\.\\COM3  2400,N,8,1\nCOM4  \\\\.\\COM4  1200,N,8,1' ]] ||
    fail "find found: $found"
kill $sim_pid

# The window's start-up read goes out at 4800,N,8,1, unanswered; "帮    助"
# hands help.htm beside the .exe to xdg-open; "检测设备" finds the unit.
start_sim --settings 9600,E,8,1
mkdir "$WINEPREFIX/bin" && printf '#!/bin/sh\necho "$1" >%s/opened\n' "$WINEPREFIX" >"$WINEPREFIX/bin/xdg-open"
chmod +x "$WINEPREFIX/bin/xdg-open"
PATH=$WINEPREFIX/bin:$PATH LD_PRELOAD=$shim "$src/scripts/winrun" wine "$WINDOWS_BUILD/bin/radio-setup.exe" &
wait_log 'tool>dev F0 CC 0D \[4800,N,8,1\]'
window=$(timeout 60 xdotool search --sync --name Ostrevi | head -1)
# The middles of the buttons: (4320 + 1335/2, 4560 + 375/2) and (…, 255 + 375/2) twips, 15 to a pixel.
xdotool mousemove --window "$window" 332 316 click 1
for _ in $(seq 600); do [[ -e $WINEPREFIX/opened ]] && break; sleep 0.1; done
[[ $(cat "$WINEPREFIX/opened") == "file://$WINDOWS_BUILD/bin/help.htm" ]] || fail "help opened no help.htm"
xdotool mousemove --window "$window" 332 29 click 1
wait_log 'dev>tool F0 AA .* \[9600,E,8,1\]' && kill $! && wait $! || true
echo "wine-tests: Ctrl-C, find, help.htm and radio-setup.exe finding the unit at 9600,E,8,1 pass"
