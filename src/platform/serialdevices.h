#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A serial device of the system with what the system knows of it, so a
// technician can tell two adapters apart.
struct SerialDevice {
    QString path; // "/dev/ttyUSB0"; the port name ("COM3") on Windows
    QString description;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;
    QStringList stableNames; // /dev/serial/by-id links that lead to it
};

// Every serial device the system reports. Each call asks the system afresh,
// which on Linux means thousands of file reads under /sys: call it when the
// answer may have changed, not at every open.
QList<SerialDevice> systemSerialDevices();

// The paths of the devices, in the order given.
QStringList devicePaths(const QList<SerialDevice> &devices);
