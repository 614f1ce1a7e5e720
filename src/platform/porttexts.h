#pragma once

#include "platform/serialdevices.h"

#include <QString>
#include <QStringList>

#include <optional>

// What the tool says of a port in its port list and status bar, so that a
// technician with several adapters can tell which one is which.

// A USB vendor or product id as the system writes it: four lower-case hex
// digits ("0403").
QString usbIdText(quint16 id);

// What the system knows of a device, one labelled item each ("描述：…",
// "USB 标识：0403:6001", …); items it does not know are left out.
QStringList deviceFacts(const SerialDevice &device);

// A port list entry's tooltip: COMn's device and whatever the system knows
// of it, one item a line.
QString portTooltip(const QString &portName, const std::optional<SerialDevice> &device);

// The status bar after an open: "COM1：/dev/ttyUSB0（FT232R USB UART）4800,N,8,1".
QString describeOpenPort(const QString &portName, const SerialDevice &device,
                         const QString &settings);

// The status bar when the device went away under the open port.
QString describeLostPort(const QString &portName, const QString &device);
