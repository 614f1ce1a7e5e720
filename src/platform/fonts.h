#pragma once

#include <QStringList>

// Chinese faces under the names this system gives them, best first. A face
// the system lacks is passed over.

// The windows' text. Empty where the system's default font already sets
// Chinese in a Chinese face.
QStringList textFontFamilies();

// The About window's bold title: a heavy sans, 黑体 where there is one.
QStringList titleFontFamilies();
