#pragma once

#include "platform/portsettings.h"
#include "platform/seriallink.h"

#include <QSerialPort>

#include <functional>
#include <optional>

// How the open port reports a byte received with a parity error.
enum class ReceiveErrors {
    Replaced, // the system itself delivers "?" in its place
    Marked,   // the system marks it; run the input through unescapeParityMarks
};

// The serial link over QSerialPort: raw 8-bit, no flow control, a byte with
// a parity error delivered as "?".
//
// Receptions reach the window through a queued, coalesced onComm(): the
// readyRead slot only drains the port into the receive buffer. QSerialPort
// holds back readyRead while a slot of it runs, and the receive handler opens
// modal boxes from onComm(), so emitting from inside readyRead would strand
// every byte that arrives while such a box is open.
class QtSerialLink : public SerialLink
{
    Q_OBJECT

public:
    // The device behind port number n (a path, or a system port name), or
    // none if there is no such port.
    using PortResolver = std::function<std::optional<QString>(int)>;

    // What the receive buffer holds at most; bytes beyond it are lost, as
    // when a hardware receive buffer overflows.
    static constexpr qsizetype kReceiveBufferSize = 1024;

    explicit QtSerialLink(PortResolver resolver, QObject *parent = nullptr);
    // Every port number stands for this one device (none: for no device, so
    // every open fails as one of a port with nothing behind it).
    explicit QtSerialLink(std::optional<QString> device, QObject *parent = nullptr);
    ~QtSerialLink() override;

    // Ignored while the port is open: the number takes effect at the next
    // open, and changing it under an open port would misreport the device.
    void setCommPort(int port) override;
    [[nodiscard]] CommError setSettings(const QString &settings) override;
    // Changes the settings of the open port in place, so DTR and RTS stay
    // raised (many adapters power or reset the unit when they drop). What
    // was received at the old settings and not yet handed on is dropped. If
    // the system refuses, the port is closed and the result is OpenFailed,
    // with lastOpenFailure() saying why. On a closed port: setSettings().
    [[nodiscard]] CommError retune(const QString &settings);
    QString settings() const override;
    void setDTREnable(bool enable) override;
    void setRTSEnable(bool enable) override;
    bool portOpen() const override;
    [[nodiscard]] CommError setPortOpen(bool open) override;
    [[nodiscard]] CommError output(const QByteArray &bytes) override;
    QByteArray input() override;

    // Hands every queued byte to the system, waiting at most `ms`, so that a
    // frame is not cut short when the port closes; false if some are left.
    bool finishOutput(int ms);

    // The device of the last open, whether it worked or not; empty when the
    // port number stood for none.
    QString device() const { return m_device; }
    // Why the last open failed.
    const OpenFailure &lastOpenFailure() const { return m_openFailure; }

private:
    void drainPort();
    void raiseReceiveEvent();
    void handleError(QSerialPort::SerialPortError error);
    void applyControlLines();
    bool applyPortSettings();
    bool applyReceiveOptions();
    void closePort();
    CommError failOpen(OpenFailure failure);

    QSerialPort *m_port;
    PortResolver m_resolver;
    int m_commPort = 1;
    QString m_settingsText = QStringLiteral("9600,N,8,1");
    PortSettings m_settings;
    bool m_dtr = false;
    bool m_rts = false;
    ReceiveErrors m_receiveErrors = ReceiveErrors::Replaced;
    QString m_device;
    OpenFailure m_openFailure;
    QByteArray m_received;
    QByteArray m_markCarry;
    bool m_receiveEventPosted = false;
    // Counts opens, so a close queued for a lost link cannot hit a later one.
    quint64 m_session = 0;
    // Open and not yet lost: errors from here on mean the device went away.
    bool m_live = false;
};
