#include "platform/portname.h"

#include "platform/portmap.h"

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
