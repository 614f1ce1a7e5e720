#pragma once

#include <QString>

// The tool's own folders under the user's base directories, by the XDG
// rules: a variable that is unset, empty or relative is ignored.

// $XDG_CONFIG_HOME/radio-setup, by default ~/.config/radio-setup.
QString configFolder();
// $XDG_STATE_HOME/radio-setup, by default ~/.local/state/radio-setup.
QString stateFolder();
