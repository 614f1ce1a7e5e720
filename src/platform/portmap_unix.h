#pragma once

#include <QString>
#include <QStringList>

// The Linux rules behind the port map (portmap.h).

// Where the user puts links comN: $XDG_CONFIG_HOME/radio-setup/ports,
// by default ~/.config/radio-setup/ports.
QString comPortsFolder();

// Adapters (ttyUSB, ttyACM) before on-board ports, each group in natural
// order (ttyUSB2 before ttyUSB10). Names or paths; paths are ordered by
// their last part.
QStringList orderSerialPorts(const QStringList &devices);
