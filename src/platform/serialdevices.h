#pragma once

#include <QList>
#include <QMultiHash>
#include <QString>
#include <QStringList>

#include <optional>

// A serial device of the system with what the system knows of it, so a
// technician can tell two adapters apart.
struct SerialDevice {
    QString path; // what opens it: a device file, or \\.\COMn on Windows
    QString description;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;
    QStringList stableNames; // names that survive re-plugging (udev's by-id links)
};

// Every serial device the system reports. Each call asks the system afresh,
// which on Linux means thousands of file reads under /sys: call it when the
// answer may have changed, not at every open.
QList<SerialDevice> systemSerialDevices();

// The paths of the devices, in the order given.
QStringList devicePaths(const QList<SerialDevice> &devices);

// The system's names of its devices that survive re-plugging, keyed by the
// device they lead to; none where the system has no such names.
QMultiHash<QString, QString> stableDeviceNames();

// False when systemSerialDevices() can never hold `path` (a pseudo-terminal,
// say), so there is nothing to learn of it from the list.
bool mayListDevice(const QString &path);
