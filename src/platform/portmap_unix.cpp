#include "platform/portmap_unix.h"

#include "platform/portmap.h"
#include "platform/userfolders.h"

#include <QCollator>
#include <QDir>
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

} // namespace

QStringList orderSerialPorts(const QStringList &devices)
{
    // Numeric mode compares runs of digits by value (ttyS2 before ttyS10);
    // the C locale would compare plainly, so name a real one.
    static const QCollator natural = [] {
        QCollator c{QLocale(QLocale::English)};
        c.setNumericMode(true);
        return c;
    }();
    QStringList ordered = devices;
    std::stable_sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
        const QString na = lastPart(a);
        const QString nb = lastPart(b);
        const bool adapterA = isAdapter(na);
        const bool adapterB = isAdapter(nb);
        if (adapterA != adapterB)
            return adapterA;
        // Equal by value ("ttyS01", "ttyS1"): keep a total order.
        const int c = natural.compare(na, nb);
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
