#include "cli/commands.h"
#include "cli/portlist.h"

#include "cli/failure.h"
#include "cli/output.h"
#include "platform/ports.h"
#include "platform/ports.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue usbId(const std::optional<quint16> &id)
{
    return id ? QJsonValue(usbIdText(*id)) : QJsonValue::Null;
}

QJsonValue orNull(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue::Null;
}

QString described(const SerialDevice &d)
{
    const QStringList facts = deviceFacts(d);
    return d.path + (facts.isEmpty() ? QString() : QStringLiteral("  ") + facts.join(QStringLiteral("；")));
}

} // namespace

int listPorts(const Invocation &run)
{
    const QList<SerialDevice> devices = systemSerialDevices();
    QJsonArray ports;
    QStringList lines;
    for (int n = 1; n <= kComPortCount; ++n) {
        const auto device = resolveComPort(n);
        const QString name = QStringLiteral("COM%1").arg(n);
        ports.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("device"), orNull(device)}});
        lines << QStringLiteral("%1  %2").arg(name, -5).arg(device.value_or(QStringLiteral("（无）")));
    }
    QJsonArray list;
    lines << QString() << QStringLiteral("系统串口设备：");
    for (const SerialDevice &d : devices) {
        list.append(QJsonObject{
            {QStringLiteral("path"), d.path},
            {QStringLiteral("description"), d.description},
            {QStringLiteral("manufacturer"), d.manufacturer},
            {QStringLiteral("vendor_id"), usbId(d.vendorId)},
            {QStringLiteral("product_id"), usbId(d.productId)},
            {QStringLiteral("serial_number"), d.serialNumber},
            {QStringLiteral("by_id"), QJsonArray::fromStringList(d.stableNames)},
        });
        lines << QStringLiteral("  ") + described(d);
    }
    if (devices.isEmpty())
        lines << QStringLiteral("  （无）");
    if (run.json)
        printData(QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("ports"), ports},
                                                                {QStringLiteral("devices"), list}})
                                        .toJson(QJsonDocument::Compact)));
    else
        printData(lines.join(QLatin1Char('\n')));
    return exitcode::kDone;
}

QList<PortToProbe> portsToProbe(bool withOnBoard)
{
    return portsToProbe(withOnBoard, systemSerialDevices());
}

QList<PortToProbe> portsToProbe(bool withOnBoard, const QList<SerialDevice> &devices)
{
    const QStringList paths = devicePaths(devices);
    QList<PortToProbe> ports;
    QStringList taken;
    for (int n = 1; n <= kComPortCount; ++n) {
        const auto device = resolveComPort(n, paths);
        if (!device || taken.contains(*device))
            continue;
        const qsizetype listed = paths.indexOf(*device);
        // Unlisted yet listable: the system has no such port now. A link to
        // what the list cannot hold is the user's own, and probed.
        if (listed < 0 && mayListDevice(*device))
            continue;
        // The system knows a USB adapter by its vendor.
        if (listed >= 0 && !devices.at(listed).vendorId && !withOnBoard)
            continue;
        taken << *device;
        ports.append({QStringLiteral("COM%1").arg(n), *device});
    }
    return ports;
}
