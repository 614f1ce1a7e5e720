#pragma once

#include "platform/serialdevices.h"

#include <QString>
#include <QStringList>

#include <future>
#include <optional>

// The port list offers "COM1" to "COM16".
constexpr int kComPortCount = 16;

// The device behind "COMn": a path on Linux, the system port name on
// Windows; none if nothing answers to that number.
//
// On Linux a link named comN in comPortsFolder() wins (even a dangling one,
// which then fails to open); otherwise COMn is the n-th serial device the
// system reports, in orderSerialPorts() order. Asks the system for its
// devices at each call; a window resolves through a PortMap instead.
std::optional<QString> resolveComPort(int n);

// The same lookup against a given list of system devices, so it can be
// checked without real hardware.
std::optional<QString> resolveComPort(int n, const QStringList &systemDevices);

// Where the user puts links comN: $XDG_CONFIG_HOME/radio-setup/ports,
// by default ~/.config/radio-setup/ports.
QString comPortsFolder();

// Adapters (ttyUSB, ttyACM) before on-board ports, each group in natural
// order (ttyUSB2 before ttyUSB10). Names or paths; paths are ordered by
// their last part.
QStringList orderSerialPorts(const QStringList &devices);

// The system's serial devices as last asked for, and COMn resolved against
// them by the rules above. Asking the system costs thousands of file reads
// on Linux, so it happens only when asked, or at first need; resolving
// reads at most the comN link, so a detection tick that reopens the port
// asks the system nothing.
class PortMap
{
public:
    // Asks in the background; the first lookup waits for the answer. The
    // window is built meanwhile.
    void refreshInBackground();
    void refresh();

    std::optional<QString> resolve(int n);
    // COMn's device with what the last refresh learnt of it.
    std::optional<SerialDevice> device(int n);
    // Only the path for a device the system does not list as serial, such
    // as a pseudo-terminal.
    SerialDevice details(const QString &path);

private:
    const QList<SerialDevice> &devices();

    std::future<QList<SerialDevice>> m_pending;
    std::optional<QList<SerialDevice>> m_devices;
    QStringList m_paths;
};
