#pragma once

#include <QString>

// The tool's own folders in the user's profile: under the XDG base
// directories on Linux (a variable that is unset, empty or relative is
// ignored), under %LOCALAPPDATA% on Windows.

// Linux: $XDG_CONFIG_HOME/radio-setup, by default ~/.config/radio-setup.
QString configFolder();
// Linux: $XDG_STATE_HOME/radio-setup, by default ~/.local/state/radio-setup.
QString stateFolder();
// Where stateFolder() is, as a user finds it, for the command line's help.
QString stateFolderHint();
