#include "cli/commands.h"
#include "cli/portlist.h"

#include "cli/failure.h"
#include "cli/output.h"
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
    QList<PortToProbe> ports;
    QStringList taken;
    for (const ComPort &port : comPorts(devices)) {
        // Two COM numbers may lead to one device: it is probed once.
        if ((port.onBoard && !withOnBoard) || taken.contains(port.device))
            continue;
        taken << port.device;
        ports.append({QStringLiteral("COM%1").arg(port.number), port.device});
    }
    return ports;
}
