#include "platform/portmap.h"

#include <QMetaObject>

#include <chrono>
#include <utility>

std::optional<QString> resolveComPort(int n)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    if (auto known = knownComPort(n))
        return known;
    return resolveComPort(n, devicePaths(systemSerialDevices()));
}

PortMap::PortMap(Enumerator enumerator)
    : m_enumerator(std::move(enumerator))
{
}

PortMap::~PortMap()
{
    if (m_worker.joinable())
        m_worker.join();
}

void PortMap::refreshInBackground()
{
    if (m_worker.joinable())
        m_worker.join();
    std::promise<QList<SerialDevice>> answer;
    m_pending = answer.get_future();
    m_worker = std::thread([this, answer = std::move(answer)]() mutable {
        answer.set_value(m_enumerator());
        // Taken at once, so that a later refresh does not mistake it for
        // news: an adapter may be plugged in after it.
        QMetaObject::invokeMethod(&m_context, [this] { takeIfReady(); }, Qt::QueuedConnection);
    });
}

void PortMap::takeIfReady()
{
    if (m_pending.valid() && m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        take(m_pending.get());
}

void PortMap::refresh()
{
    take(m_pending.valid() ? m_pending.get() : m_enumerator());
}

void PortMap::take(QList<SerialDevice> devices)
{
    m_devices = std::move(devices);
    m_paths = devicePaths(*m_devices);
}

const QList<SerialDevice> &PortMap::devices()
{
    if (m_pending.valid())
        take(m_pending.get());
    else if (!m_devices)
        refresh();
    return *m_devices;
}

std::optional<QString> PortMap::resolve(int n)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    if (auto known = knownComPort(n))
        return known;
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
    // Waiting for the list is worth it only for a device it may hold.
    takeIfReady();
    if (m_devices || mayListDevice(path)) {
        for (const SerialDevice &d : devices()) {
            if (d.path == path)
                return d;
        }
    }
    SerialDevice bare;
    bare.path = path;
    return bare;
}
