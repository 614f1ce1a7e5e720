#pragma once

#include "form/controls.h"

#include <QIcon>
#include <QPixmap>

// The tool's pictures, drawn at run time so that no image files have to
// travel with the executable.

// A white antenna mast sending waves, on a blue disc; transparent outside
// the disc.
QPixmap emblemPixmap(int size = 32);

// The emblem at 16, 32, 48, 64 and 256 pixels, for window and task bar,
// each drawn when asked for.
QIcon emblemIcon();

// The 32 x 32 status lamp: a traffic light with only `lamp` lit.
QPixmap lampPixmap(Lamp lamp);
