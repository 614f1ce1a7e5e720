#pragma once

#include "platform/serialdevices.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <optional>
#include <thread>

// The port list offers "COM1" to "COM16".
constexpr int kComPortCount = 16;

// The device behind "COMn", none if nothing answers to that number.
//
// Linux: a link named comN in the tool's ports folder wins (even a dangling
// one, which then fails to open); otherwise COMn is the n-th serial device
// the system reports, adapters first. Windows: the system's own COMn,
// opened as \\.\COMn so that COM10 and above open too.
//
// Asks the system for its devices at each call; a window resolves through a
// PortMap instead.
std::optional<QString> resolveComPort(int n);

// The same lookup against a given list of system devices, so it can be
// checked without real hardware.
std::optional<QString> resolveComPort(int n, const QStringList &systemDevices);

// COMn's device when the system's list of devices is not needed to tell
// (a comN link, a Windows COM port); none otherwise.
std::optional<QString> knownComPort(int n);

// The system's serial devices as last asked for, and COMn resolved against
// them by the rules above. Asking the system costs thousands of file reads
// on Linux, so it happens only when asked, or at first need; resolving
// reads at most the comN link, so a detection tick that reopens the port
// asks the system nothing.
class PortMap
{
public:
    using Enumerator = std::function<QList<SerialDevice>()>;

    explicit PortMap(Enumerator enumerator = systemSerialDevices);
    ~PortMap();
    PortMap(const PortMap &) = delete;
    PortMap &operator=(const PortMap &) = delete;

    // Asks in the background, so the window is built meanwhile. The answer
    // is taken as soon as it comes (with an event loop running) or at the
    // first lookup that needs it, which waits for it.
    void refreshInBackground();
    // Asks the system now, unless a background answer has still to be
    // taken: that one is as fresh.
    void refresh();

    std::optional<QString> resolve(int n);
    // COMn's device with what the last refresh learnt of it.
    std::optional<SerialDevice> device(int n);
    // Only the path for a device the system does not list as serial, such
    // as a pseudo-terminal, which waits for no answer still to come.
    SerialDevice details(const QString &path);

private:
    const QList<SerialDevice> &devices();
    void take(QList<SerialDevice> devices);
    void takeIfReady();

    Enumerator m_enumerator;
    std::optional<QList<SerialDevice>> m_devices;
    QStringList m_paths;
    // Where the worker says it is done, on the map's own thread.
    QObject m_context;
    std::future<QList<SerialDevice>> m_pending;
    std::thread m_worker;
};
