#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <optional>
#include <thread>

// The port list offers "COM1" to "COM16".
constexpr int kComPortCount = 16;

// A serial device of the system with what the system knows of it, so a
// technician can tell two adapters apart.
struct SerialDevice {
    QString path; // what opens it: a device file, or \\.\COMn on Windows
    QString description;
    QString manufacturer;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    QString serialNumber;
    QStringList stableNames; // names that survive re-plugging (udev's by-id links)
};

// A serial port as a user names it on the command line.
struct NamedPort {
    QString name;      // for messages and remembered settings: "COM3", or the device
    int comNumber = 0; // n of the port map's COMn (1 to kComPortCount), else 0
    QString device;    // the device to open when comNumber is 0
};

// What a user typed after --port. "COM3" in either case is the port map's
// COM3 on every system; other names follow the system's rules. None when
// the text names no port.
std::optional<NamedPort> parsePortName(const QString &text);

// The number of "COMn" in either case (leading zeros allowed), none for
// anything else; it may lie outside the port map.
std::optional<int> comPortNumber(const QString &text);

// What --port accepts, in the words that follow "应为": "COM1 至 COM16、…".
QString portNameHint();

// The device behind "COMn", none if nothing answers to that number.
//
// Linux: a link named comN in the tool's ports folder wins (even a dangling
// one, which then fails to open); otherwise COMn is the n-th serial device
// the system has, adapters first. Windows: the system's own COMn, opened as
// \\.\COMn so that COM10 and above open too.
//
// Reads the comN link and the names of the system's serial devices, never
// their descriptions, so it is quick enough for start-up.
std::optional<QString> resolveComPort(int n);

// The same lookup against a given list of system devices, so it can be
// checked without real hardware.
std::optional<QString> resolveComPort(int n, const QStringList &systemDevices);

// Every serial device the system reports, with its description. Each call
// asks the system afresh, which on Linux means thousands of file reads: call
// it when the answer may have changed, not at every open.
QList<SerialDevice> systemSerialDevices();

// A COMn with a device behind it, for commands that go through every port.
struct ComPort {
    int number = 0;
    QString device;
    // A port of the machine itself (ttyS*, a COM port without a USB vendor),
    // which may carry another device or the kernel console; not a comN link
    // nor a USB or ACM adapter.
    bool onBoard = false;
    SerialDevice details; // what `devices` say of it; only the path if nothing
};

// COM1 to COM16 with a device, in order, resolved against `devices` (the
// system's are systemSerialDevices()).
QList<ComPort> comPorts(const QList<SerialDevice> &devices);

// The system's serial devices as last asked for, for the port list's
// tooltips and the status bar, and COMn resolved like resolveComPort().
// Resolving reads the names once per refresh, so a detection tick that
// reopens the port asks the system nothing; the descriptions are asked for
// in the background once the window is up, or when the list opens.
class PortMap : public QObject
{
    Q_OBJECT

public:
    using Enumerator = std::function<QList<SerialDevice>()>;

    explicit PortMap(Enumerator enumerator = systemSerialDevices);
    ~PortMap() override;

    // Asks for the descriptions in the background, once the window is up
    // (with no event loop: at once).
    void refreshInBackground();
    // Asks the system now, unless a background answer has still to be
    // taken: that one is as fresh.
    void refresh();

    std::optional<QString> resolve(int n);
    // COMn's device with what the last refresh learnt of it.
    std::optional<SerialDevice> device(int n);
    // What is known of `path` so far, without waiting: the path alone until
    // the descriptions are in (devicesKnown()).
    SerialDevice details(const QString &path);

signals:
    // The descriptions came; what was shown without them may be redone.
    void devicesKnown();

private:
    const QList<SerialDevice> &devices();
    void startWorker();
    void take(QList<SerialDevice> devices);
    void takeIfReady();

    Enumerator m_enumerator;
    std::optional<QList<SerialDevice>> m_devices;
    std::optional<QStringList> m_names;
    std::future<QList<SerialDevice>> m_pending;
    std::thread m_worker;
};

// What the tool says of a port in its port list, status bar and listing.

// A USB vendor or product id as the system writes it: four lower-case hex
// digits ("0403").
QString usbIdText(quint16 id);

// What the system knows of a device, one labelled item each ("描述：…",
// "USB 标识：0403:6001", …); items it does not know are left out.
QStringList deviceFacts(const SerialDevice &device);

// A port list entry's tooltip: COMn's device and whatever the system knows
// of it, one item a line.
QString portTooltip(const QString &portName, const std::optional<SerialDevice> &device);

// The status bar after an open: "COM1：/dev/ttyUSB0（FT232R USB UART）4800,N,8,1"
// on Linux; on Windows the system's name of the device in place of \\.\COM1:
// "COM1：USB-SERIAL CH340 4800,N,8,1", "COM1：4800,N,8,1" when it has none.
QString describeOpenPort(const QString &portName, const SerialDevice &device,
                         const QString &settings);

// The status bar when the device went away under the open port.
QString describeLostPort(const QString &portName, const QString &device);
