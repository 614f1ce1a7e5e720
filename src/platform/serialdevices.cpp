#include "platform/serialdevices.h"

#include <QSerialPortInfo>

QList<SerialDevice> systemSerialDevices()
{
    const QMultiHash<QString, QString> stable = stableDeviceNames();
    QList<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d;
        d.path = info.systemLocation();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            d.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            d.productId = info.productIdentifier();
        d.serialNumber = info.serialNumber();
        d.stableNames = stable.values(d.path);
        d.stableNames.sort();
        devices.append(d);
    }
    return devices;
}

QStringList devicePaths(const QList<SerialDevice> &devices)
{
    QStringList paths;
    for (const SerialDevice &d : devices)
        paths << d.path;
    return paths;
}
