#include "platform/ports_p.h"

#include <QAbstractEventDispatcher>
#include <QMetaObject>
#include <QSerialPortInfo>
#include <QTimer>

#include <chrono>
#include <utility>

namespace {

// More digits than any system numbers its ports with.
constexpr int kMaxComDigits = 4;

// Long enough for the window to be painted, short of any click on it.
constexpr int kQuietStartMs = 500;

QString hexId(const std::optional<quint16> &id)
{
    return id ? usbIdText(*id) : QStringLiteral("????");
}

SerialDevice bareDevice(const QString &path)
{
    SerialDevice bare;
    bare.path = path;
    return bare;
}

SerialDevice findDevice(const QList<SerialDevice> &devices, const QString &path)
{
    for (const SerialDevice &d : devices) {
        if (d.path == path)
            return d;
    }
    return bareDevice(path);
}

} // namespace

std::optional<int> comPortNumber(const QString &text)
{
    if (!text.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return std::nullopt;
    const QString digits = text.mid(3);
    if (digits.isEmpty() || digits.size() > kMaxComDigits)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return digits.toInt();
}

std::optional<NamedPort> parsePortName(const QString &text)
{
    const std::optional<int> n = comPortNumber(text);
    if (n && *n >= 1 && *n <= kComPortCount)
        return NamedPort{QStringLiteral("COM%1").arg(*n), *n, {}};
    return parseSystemPortName(text);
}

std::optional<QString> resolveComPort(int n)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    if (auto known = knownComPort(n))
        return known;
    return resolveComPort(n, systemSerialNames());
}

QList<SerialDevice> systemSerialDevices()
{
    const QMultiHash<QString, QString> stable = stableDeviceNames();
    QList<SerialDevice> devices;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialDevice d;
        d.path = info.systemLocation();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier())
            d.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            d.productId = info.productIdentifier();
        d.serialNumber = info.serialNumber();
        d.stableNames = stable.values(d.path);
        d.stableNames.sort();
        devices.append(d);
    }
    return devices;
}

QList<ComPort> comPorts(const QList<SerialDevice> &devices)
{
    // Resolved against the devices given, so that a list made elsewhere is
    // the whole of what the system is taken to have.
    QStringList names;
    for (const SerialDevice &d : devices)
        names << d.path;
    QList<ComPort> ports;
    for (int n = 1; n <= kComPortCount; ++n) {
        const std::optional<QString> device = resolveComPort(n, names);
        if (!device)
            continue;
        ComPort port{n, *device, false, findDevice(devices, *device)};
        port.onBoard = isOnBoardPort(n, port.details);
        ports.append(port);
    }
    return ports;
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
    // Nothing before the first paint needs the descriptions, and asking for
    // them would compete with it: start once the loop has run a while.
    if (!QAbstractEventDispatcher::instance()) {
        startWorker();
        return;
    }
    QTimer::singleShot(0, this, [this] {
        QTimer::singleShot(kQuietStartMs, this, [this] {
            if (!m_devices && !m_pending.valid())
                startWorker();
        });
    });
}

void PortMap::startWorker()
{
    if (m_worker.joinable())
        m_worker.join();
    std::promise<QList<SerialDevice>> answer;
    m_pending = answer.get_future();
    m_worker = std::thread([this, answer = std::move(answer)]() mutable {
        answer.set_value(m_enumerator());
        // Taken at once, so that a later refresh does not mistake it for
        // news: an adapter may be plugged in after it.
        QMetaObject::invokeMethod(this, [this] { takeIfReady(); }, Qt::QueuedConnection);
    });
}

void PortMap::takeIfReady()
{
    if (m_pending.valid() && m_pending.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
        take(m_pending.get());
}

void PortMap::refresh()
{
    m_names = systemSerialNames();
    take(m_pending.valid() ? m_pending.get() : m_enumerator());
}

void PortMap::take(QList<SerialDevice> devices)
{
    m_devices = std::move(devices);
    emit devicesKnown();
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
    if (!m_names)
        m_names = systemSerialNames();
    return resolveComPort(n, *m_names);
}

std::optional<SerialDevice> PortMap::device(int n)
{
    const std::optional<QString> path = resolve(n);
    if (!path)
        return std::nullopt;
    return findDevice(devices(), *path);
}

SerialDevice PortMap::details(const QString &path)
{
    takeIfReady();
    return m_devices ? findDevice(*m_devices, path) : bareDevice(path);
}

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
    return portName + QStringLiteral("：") + shownDevice(device) + settings;
}

QString describeLostPort(const QString &portName, const QString &device)
{
    return portName + QStringLiteral("：") + device
           + QStringLiteral(" 已断开（适配器被拔出），插好后请重新选择此串口");
}
