#!/usr/bin/env bash
# radioctl.exe under wine for radioctl_tests (RADIOCTL_LAUNCHER, RADIOCTL_EXE): COM1 is the
# test's radio-sim and %LOCALAPPDATA%\radio-setup the test's state folder, as on Linux.
set -euo pipefail
ln -sfn "$XDG_CONFIG_HOME/radio-setup/ports/com1" "$WINEPREFIX/com1"
local=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local
mkdir -p "$local" "$XDG_STATE_HOME" && ln -sfn "$XDG_STATE_HOME" "$local/radio-setup"
exec "$(dirname "$0")/../../scripts/winrun" wine "$RADIOCTL_EXE" "$@"
