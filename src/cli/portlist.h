#pragma once

#include "platform/ports.h"

#include <QList>
#include <QString>

// A port `find` probes: a COMn name and the device behind it.
struct PortToProbe {
    QString name;
    QString device;
    bool operator==(const PortToProbe &o) const { return name == o.name && device == o.device; }
};

// Each COMn that `ports` lists with a device, once per device: links set up
// for the tool and USB adapters; on-board ports, which may carry another
// device or the console, only `withOnBoard`.
QList<PortToProbe> portsToProbe(bool withOnBoard);
// The same against `devices`, as systemSerialDevices() gives the system's.
QList<PortToProbe> portsToProbe(bool withOnBoard, const QList<SerialDevice> &devices);
