#!/usr/bin/env bash
# The Windows build's tests under wine, in a fresh prefix: the unit suites
# (ctest), radioctl_tests' cases against radioctl.exe, and radio-setup.exe
# against radio-sim. Run under xvfb-run; BUILD is the Linux build.
#   BUILD=… WINDOWS_BUILD=… WINEPATH='<Qt bin>;<compiler DLLs>' xvfb-run -a tests/windows/wine-tests.sh
set -euo pipefail
. "$(dirname "$0")/wine.sh"
new_prefix
(cd "$WINDOWS_BUILD" && WINEQT_QPA_PLATFORM=offscreen ctest --output-on-failure -L unit -j2)

# Detection at a later setting and read --json, writes read back (and told
# apart), activation followed, a silent unit, a missing profile.
RADIOCTL_LAUNCHER=$src/tests/windows/radioctl-wine.sh RADIOCTL_EXE=$WINDOWS_BUILD/bin/radioctl.exe \
    "$BUILD/bin/radioctl_tests" --gtest_filter='Radioctl.FindsAUnit*:Radioctl/Outcomes.*'

# The window's start-up read goes out at 4800,N,8,1, which the unit does not
# answer; "检测设备" clicked finds it, and it answers at its own settings.
start_sim --settings 9600,E,8,1
LD_PRELOAD=$BUILD/bin/libptyshim.so winrun wine "$WINDOWS_BUILD/bin/radio-setup.exe" &
wait_log 'tool>dev F0 CC 0D \[4800,N,8,1\]'
window=$(timeout 60 xdotool search --sync --name Ostrevi | head -1)
# The middle of "检测设备": (4320 + 1335/2, 255 + 375/2) twips, 15 to a pixel.
xdotool mousemove --window "$window" 332 29 click 1
wait_log 'dev>tool F0 AA .* \[9600,E,8,1\]'
echo "wine-tests: radio-setup.exe found the unit at 9600,E,8,1"
