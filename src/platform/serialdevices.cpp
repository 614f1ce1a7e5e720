#include "platform/serialdevices.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

namespace {

// udev's names that survive re-plugging, keyed by the device they lead to.
QMultiHash<QString, QString> stableNamesByDevice()
{
    QMultiHash<QString, QString> names;
#ifdef Q_OS_LINUX
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty())
            names.insert(target, link.absoluteFilePath());
    }
#endif
    return names;
}

} // namespace

QList<SerialDevice> systemSerialDevices()
{
    const QMultiHash<QString, QString> stable = stableNamesByDevice();
    QList<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d;
#ifdef Q_OS_WIN
        d.path = info.portName(); // what COMn resolves to there
#else
        d.path = info.systemLocation();
#endif
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
