#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// Why a serial port did not open, in the terms a technician can act on.
enum class OpenFailureCause {
    NoDevice,         // nothing behind the port, or the adapter is unplugged
    PermissionDenied, // the user may not open the device
    Busy,             // another program holds it
    Other,            // the system's own words say what
};

struct OpenFailure {
    OpenFailureCause cause = OpenFailureCause::Other;
    QString device;     // what was opened; empty when the port names no device
    QString holder;     // Busy: the program holding it, when its lock file says
    QString systemText; // Other: the system's description
};

// One line in Chinese, for the status bar and the command line.
QString describeOpenFailure(const QString &portName, const OpenFailure &failure);

// What opening, writing or configuring the link can fail with. The handlers
// decide what the user is told; the link only says what went wrong.
enum class CommError {
    None,
    OpenFailed,      // the device is missing, busy or refused
    PortNotOpen,     // writing while the port is closed
    PortAlreadyOpen, // port number or settings changed while open
    BadSettings,     // a settings string that is not "speed,P,8,1"
};

// The serial port as the window's handlers use it. One implementation runs
// over QSerialPort; tests use a fake that records what was written.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void setCommPort(int port) = 0;
    // Strict: "57600,E,8,1", parity letter N, O or E in either case.
    [[nodiscard]] virtual CommError setSettings(const QString &settings) = 0;
    virtual QString settings() const = 0;
    virtual void setDTREnable(bool enable) = 0;
    virtual void setRTSEnable(bool enable) = 0;
    virtual bool portOpen() const = 0;
    [[nodiscard]] virtual CommError setPortOpen(bool open) = 0;
    // Queues the bytes and returns without waiting for them to go out.
    [[nodiscard]] virtual CommError output(const QByteArray &bytes) = 0;
    // Every byte waiting, removed from the receive buffer: input() hands
    // everything over, which is all the handlers ever ask for.
    virtual QByteArray input() = 0;

signals:
    // Raised on the user-interface thread whenever received bytes wait.
    void onComm();
    // What the link is doing, for the status bar: raised by setPortOpen(true)
    // before it returns, and once when the device goes away under an open
    // port (the port is closed by then).
    void opened(const QString &device);
    void openFailed(const OpenFailure &failure);
    void linkLost(const QString &device);
};
