#pragma once

#include <QString>
#include <QStringList>

// What the user's desktop gives the tool: its own folders and the Chinese
// faces to set text in.

// The tool's own folders in the user's profile: under the XDG base
// directories on Linux (a variable that is unset, empty or relative is
// ignored), under %LOCALAPPDATA% on Windows.

// Linux: $XDG_CONFIG_HOME/radio-setup, by default ~/.config/radio-setup.
QString configFolder();
// Linux: $XDG_STATE_HOME/radio-setup, by default ~/.local/state/radio-setup.
QString stateFolder();
// Where stateFolder() is, as a user finds it, for the command line's help.
QString stateFolderHint();

// Chinese faces under the names this system gives them, best first. A face
// the system lacks is passed over.

// The windows' text. Empty where the system's default font already sets
// Chinese in a Chinese face.
QStringList textFontFamilies();

// The About window's bold title: a heavy sans, 黑体 where there is one.
QStringList titleFontFamilies();
