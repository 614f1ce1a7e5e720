#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The port list offers "COM1" to "COM16".
constexpr int kComPortCount = 16;

// The device behind "COMn": a path on Linux, the system port name on
// Windows; none if nothing answers to that number.
//
// On Linux a link named comN in comPortsFolder() wins (even a dangling one,
// which then fails to open); otherwise COMn is the n-th serial device the
// system reports, in orderSerialPorts() order.
std::optional<QString> resolveComPort(int n);

// The same lookup against a given list of system devices, so it can be
// checked without real hardware.
std::optional<QString> resolveComPort(int n, const QStringList &systemDevices);

// Where the user puts links comN: $XDG_CONFIG_HOME/radio-setup/ports,
// by default ~/.config/radio-setup/ports.
QString comPortsFolder();

// Adapters (ttyUSB, ttyACM) before on-board ports, each group in natural
// order (ttyUSB2 before ttyUSB10). Names or paths; paths are ordered by
// their last part.
QStringList orderSerialPorts(const QStringList &devices);
