#!/usr/bin/env bash
# radioctl.exe under wine in radioctl's place, for radioctl_tests
# (RADIOCTL_LAUNCHER): COM1 is the link the test's radio-sim made and the
# state folder, %LOCALAPPDATA%\radio-setup, the test's own, as on Linux.
# Needs WINEPREFIX (from wine.sh's new_prefix) and RADIOCTL_EXE.
set -euo pipefail
ln -sfn "$XDG_CONFIG_HOME/radio-setup/ports/com1" "$WINEPREFIX/com1"
local=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local
mkdir -p "$local" "$XDG_STATE_HOME"
ln -sfn "$XDG_STATE_HOME" "$local/radio-setup"
exec "$(dirname "$0")/../../scripts/winrun" wine "$RADIOCTL_EXE" "$@"
