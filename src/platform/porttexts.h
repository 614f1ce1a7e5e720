#pragma once

#include "platform/serialdevices.h"

#include <QString>

#include <optional>

// What the tool says of a port in its port list, so that a
// technician with several adapters can tell which one is which.

// A port list entry's tooltip: COMn's device and whatever the system knows
// of it, one item a line.
QString portTooltip(const QString &portName, const std::optional<SerialDevice> &device);
