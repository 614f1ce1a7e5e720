#include "platform/ports_p.h"

#include "platform/desktop.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString lastPart(const QString &device)
{
    return device.mid(device.lastIndexOf(QLatin1Char('/')) + 1);
}

bool isAdapter(const QString &name)
{
    return name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"));
}

// Runs of digits compared by value (ttyS2 before ttyS10), the rest as
// written. A collator would do the same at the cost of loading ICU on the
// way to the first paint.
int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && a.at(endA).isDigit())
                ++endA;
            while (endB < b.size() && b.at(endB).isDigit())
                ++endB;
            while (i < endA - 1 && a.at(i) == QLatin1Char('0'))
                ++i;
            while (j < endB - 1 && b.at(j) == QLatin1Char('0'))
                ++j;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            if (const int c = QStringView(a).mid(i, endA - i).compare(QStringView(b).mid(j, endB - j)))
                return c;
            i = endA;
            j = endB;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

// Ttys without a device that the enumeration lists all the same: Bluetooth,
// null-modem pairs and USB gadgets.
bool isListedVirtual(const QString &name)
{
    return name.startsWith(QLatin1String("rfcomm")) || name.startsWith(QLatin1String("tnt"))
           || name.startsWith(QLatin1String("ttyGS"));
}

// The enumeration passes over an 8250 port whose UART the kernel did not
// find; sysfs tells the same without opening the port.
bool isAbsentUart(const QDir &tty)
{
    if (lastPart(QFileInfo(tty.filePath(QStringLiteral("device/driver"))).symLinkTarget())
        != QLatin1String("serial8250"))
        return false;
    QFile type(tty.filePath(QStringLiteral("type")));
    return type.open(QIODevice::ReadOnly) && type.readAll().trimmed() == "0";
}

} // namespace

QStringList orderSerialPorts(const QStringList &devices)
{
    QStringList ordered = devices;
    std::stable_sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
        const QString na = lastPart(a);
        const QString nb = lastPart(b);
        const bool adapterA = isAdapter(na);
        const bool adapterB = isAdapter(nb);
        if (adapterA != adapterB)
            return adapterA;
        // Equal by value ("ttyS01", "ttyS1"): keep a total order.
        const int c = naturalCompare(na, nb);
        return c != 0 ? c < 0 : na < nb;
    });
    return ordered;
}

QString comPortsFolder()
{
    return configFolder() + QStringLiteral("/ports");
}

std::optional<QString> knownComPort(int n)
{
    const QFileInfo link(QDir(comPortsFolder()).filePath(QStringLiteral("com%1").arg(n)));
    if (!link.isSymLink() && !link.exists())
        return std::nullopt;
    // Open the real device, so its lock file is the one other programs use.
    const QString target = link.canonicalFilePath();
    if (!target.isEmpty())
        return target;
    return link.absoluteFilePath();
}

std::optional<QString> resolveComPort(int n, const QStringList &systemDevices)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    if (auto linked = knownComPort(n))
        return linked;
    const QStringList ordered = orderSerialPorts(systemDevices);
    if (n > ordered.size())
        return std::nullopt;
    return ordered.at(n - 1);
}

QStringList systemSerialNames()
{
    return serialTtys(QStringLiteral("/sys/class/tty"));
}

QStringList serialTtys(const QString &ttyClass)
{
    // The ttys the descriptive enumeration lists: those with a device behind
    // them (never a pseudo-terminal or a virtual console), by name alone.
    const QDir ttys(ttyClass);
    QStringList paths;
    const QStringList names = ttys.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QDir tty(ttys.filePath(name));
        const bool listed = QFileInfo::exists(tty.filePath(QStringLiteral("device")))
                                ? !isAbsentUart(tty)
                                : isListedVirtual(name);
        if (listed)
            paths << QStringLiteral("/dev/") + name;
    }
    return paths;
}

QMultiHash<QString, QString> stableDeviceNames()
{
    QMultiHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty())
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

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

bool isOnBoardPort(int n, const SerialDevice &details)
{
    return !knownComPort(n) && !isAdapter(lastPart(details.path));
}

QString shownDevice(const SerialDevice &device)
{
    return device.path
           + (device.description.isEmpty() ? QStringLiteral(" ") : QStringLiteral("（%1）").arg(device.description));
}
