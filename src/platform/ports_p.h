#pragma once

#include "platform/ports.h"

#include <QMultiHash>

// What each system's half of the ports family (ports_unix.cpp,
// ports_win.cpp) answers; ports.cpp holds the rest.

// COMn's device when no list of the system's devices is needed to tell (a
// comN link, a Windows COM port); none otherwise.
std::optional<QString> knownComPort(int n);

// The paths of the system's serial devices, from their names alone: on
// Linux the ttys under /sys/class/tty that the descriptive enumeration would
// list. Empty where knownComPort() answers for every COMn.
QStringList systemSerialNames();

// The system's names of its devices that survive re-plugging, keyed by the
// device they lead to; none where the system has no such names.
QMultiHash<QString, QString> stableDeviceNames();

// The system's own port names beyond the port map's COM1 to COM16.
std::optional<NamedPort> parseSystemPortName(const QString &text);

// See ComPort::onBoard.
bool isOnBoardPort(int n, const SerialDevice &details);

// How the status bar names an open device, up to the settings.
QString shownDevice(const SerialDevice &device);

// Linux only: where the user puts links comN ($XDG_CONFIG_HOME/radio-setup/ports,
// by default ~/.config/radio-setup/ports), and the port map's order of the
// system's devices: adapters (ttyUSB, ttyACM) before on-board ports, each
// group in natural order (ttyUSB2 before ttyUSB10), paths ordered by their
// last part.
QString comPortsFolder();
QStringList orderSerialPorts(const QStringList &devices);
// systemSerialNames() read from a given tty class folder (/sys/class/tty).
QStringList serialTtys(const QString &ttyClass);
