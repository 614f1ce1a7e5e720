#include "platform/ports_p.h"

std::optional<QString> knownComPort(int n)
{
    return QStringLiteral("\\\\.\\COM%1").arg(n);
}

std::optional<QString> resolveComPort(int n, const QStringList &)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    return knownComPort(n);
}

QStringList systemSerialNames()
{
    return {};
}

QMultiHash<QString, QString> stableDeviceNames()
{
    // A COM number is itself what stays: the system keeps it per adapter.
    return {};
}

std::optional<NamedPort> parseSystemPortName(const QString &text)
{
    // The device namespace form is the only one that opens COM10 and above.
    const QString devicePrefix = QStringLiteral("\\\\.\\");
    const QString bare = text.startsWith(devicePrefix) ? text.mid(devicePrefix.size()) : text;
    const std::optional<int> n = comPortNumber(bare);
    if (!n || *n < 1)
        return std::nullopt;
    const QString name = QStringLiteral("COM%1").arg(*n);
    if (*n <= kComPortCount)
        return NamedPort{name, *n, {}};
    return NamedPort{name, 0, devicePrefix + name};
}

QString portNameHint()
{
    return QStringLiteral("COM1 至 COM%1，或系统的其他串口（如 COM17、\\\\.\\COM17）").arg(kComPortCount);
}

bool isOnBoardPort(int, const SerialDevice &details)
{
    return !details.vendorId;
}

// "\\.\COM1" only repeats the port; the system's own name of the device is
// what the technician knows it by.
QString shownDevice(const SerialDevice &device)
{
    return device.description.isEmpty() ? QString() : device.description + QLatin1Char(' ');
}
