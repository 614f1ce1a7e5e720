#include "platform/portmap.h"

#include "platform/serialdevices.h"
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
    // Numeric mode compares runs of digits by value (ttyS2 before ttyS10);
    // the C locale would compare plainly, so name a real one.
    static const QCollator natural = [] {
        QCollator c(QLocale(QLocale::English));
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

void PortMap::refreshInBackground()
{
    m_pending = std::async(std::launch::async, systemSerialDevices);
}

void PortMap::refresh()
{
    m_pending = {};
    m_devices = systemSerialDevices();
    m_paths = devicePaths(*m_devices);
}

const QList<SerialDevice> &PortMap::devices()
{
    if (m_pending.valid()) {
        m_devices = m_pending.get();
        m_paths = devicePaths(*m_devices);
    } else if (!m_devices) {
        refresh();
    }
    return *m_devices;
}

std::optional<QString> PortMap::resolve(int n)
{
    devices();
    return resolveComPort(n, m_paths);
}

std::optional<SerialDevice> PortMap::device(int n)
{
    if (const auto path = resolve(n))
        return details(*path);
    return std::nullopt;
}

SerialDevice PortMap::details(const QString &path)
{
    for (const SerialDevice &d : devices()) {
        if (d.path == path)
            return d;
    }
    SerialDevice bare;
    bare.path = path;
    return bare;
}
