#include "platform/portname.h"

#include "platform/portmap.h"

std::optional<NamedPort> parseSystemPortName(const QString &text)
{
    if (text.contains(QLatin1Char('/')))
        return NamedPort{text, 0, text};
    // A COMn beyond the port map or a Windows device name names nothing
    // here; "/dev/COM17" would only puzzle.
    if (text.isEmpty() || text == QLatin1String(".") || text == QLatin1String("..")
        || text.contains(QLatin1Char('\\')) || comPortNumber(text))
        return std::nullopt;
    const QString device = QStringLiteral("/dev/") + text;
    return NamedPort{device, 0, device};
}

QString portNameHint()
{
    return QStringLiteral("COM1 至 COM%1、设备名（如 ttyUSB0）或设备路径（如 /dev/ttyUSB0）").arg(kComPortCount);
}
