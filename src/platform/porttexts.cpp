#include "platform/porttexts.h"

namespace {

QString hexId(const std::optional<quint16> &id)
{
    return id ? usbIdText(*id) : QStringLiteral("????");
}

} // namespace

QString usbIdText(quint16 id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
}

QStringList deviceFacts(const SerialDevice &device)
{
    QStringList facts;
    const auto add = [&](const char *label, const QString &value) {
        if (!value.isEmpty())
            facts << QString::fromUtf8(label) + value;
    };
    add("描述：", device.description);
    add("制造商：", device.manufacturer);
    if (device.vendorId || device.productId)
        add("USB 标识：", hexId(device.vendorId) + QLatin1Char(':') + hexId(device.productId));
    add("序列号：", device.serialNumber);
    for (const QString &name : device.stableNames)
        add("固定名称：", name);
    return facts;
}

QString portTooltip(const QString &portName, const std::optional<SerialDevice> &device)
{
    if (!device)
        return portName + QStringLiteral("：没有对应的串口设备");
    return (QStringList{portName + QStringLiteral("：") + device->path} + deviceFacts(*device))
        .join(QLatin1Char('\n'));
}

QString describeOpenPort(const QString &portName, const SerialDevice &device,
                         const QString &settings)
{
    const QString described = device.description.isEmpty()
                                  ? QStringLiteral(" ")
                                  : QStringLiteral("（%1）").arg(device.description);
    return portName + QStringLiteral("：") + device.path + described + settings;
}

QString describeLostPort(const QString &portName, const QString &device)
{
    return portName + QStringLiteral("：") + device
           + QStringLiteral(" 已断开（适配器被拔出），插好后请重新选择此串口");
}
