#include "platform/portmap.h"

#include "platform/serialdevices.h"

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

// Compares runs of digits by value, so "ttyS2" < "ttyS10".
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a.at(ei).isDigit())
                ++ei;
            while (ej < b.size() && b.at(ej).isDigit())
                ++ej;
            // Without leading zeros, the longer run is the larger number.
            QStringView ra = QStringView(a).mid(i, ei - i);
            QStringView rb = QStringView(b).mid(j, ej - j);
            while (ra.size() > 1 && ra.front() == QLatin1Char('0'))
                ra = ra.mid(1);
            while (rb.size() > 1 && rb.front() == QLatin1Char('0'))
                rb = rb.mid(1);
            if (ra.size() != rb.size())
                return ra.size() < rb.size();
            const int c = ra.compare(rb);
            if (c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j);
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    // Equal by value ("ttyS01", "ttyS1"): keep a total order.
    return a < b;
}

#ifndef Q_OS_WIN
std::optional<QString> linkedDevice(int n)
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
#endif

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
        return naturalLess(na, nb);
    });
    return ordered;
}

QString comPortsFolder()
{
    // The base directory rules: a relative XDG_CONFIG_HOME is ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(base + QStringLiteral("/radio-setup/ports"));
}

std::optional<QString> resolveComPort(int n, const QStringList &systemDevices)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
#ifdef Q_OS_WIN
    Q_UNUSED(systemDevices);
    return QStringLiteral("COM%1").arg(n);
#else
    if (auto linked = linkedDevice(n))
        return linked;
    const QStringList ordered = orderSerialPorts(systemDevices);
    if (n > ordered.size())
        return std::nullopt;
    return ordered.at(n - 1);
#endif
}

std::optional<QString> resolveComPort(int n)
{
#ifdef Q_OS_WIN
    return resolveComPort(n, {});
#else
    return resolveComPort(n, devicePaths(systemSerialDevices()));
#endif
}
