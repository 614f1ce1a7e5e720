#include "platform/qtseriallink.h"

#include "platform/paritymarks.h"
#include "platform/qtseriallink_p.h"

#include <QDeadlineTimer>
#include <QMetaObject>

#include <algorithm>
#include <utility>

namespace {

QSerialPort::Parity toQtParity(PortSettings::Parity parity)
{
    switch (parity) {
    case PortSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case PortSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case PortSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QString refusedLineOptions()
{
    return QStringLiteral("系统不接受逐字节的线路设置");
}

} // namespace

QtSerialLink::QtSerialLink(PortResolver resolver, QObject *parent)
    : SerialLink(parent), m_port(new QSerialPort(this)), m_resolver(std::move(resolver))
{
    // Parsing the initial string cannot fail; keep the two in step anyway.
    m_settings = parsePortSettings(m_settingsText).value_or(PortSettings {});
    connect(m_port, &QSerialPort::readyRead, this, &QtSerialLink::drainPort);
    connect(m_port, &QSerialPort::errorOccurred, this, &QtSerialLink::handleError);
}

QtSerialLink::QtSerialLink(std::optional<QString> device, QObject *parent)
    : QtSerialLink([device = std::move(device)](int) { return device; }, parent)
{
}

QtSerialLink::~QtSerialLink()
{
    // The port is a child and outlives this part of the object; closing it
    // may report errors that must not reach a half-destroyed link.
    disconnect(m_port, nullptr, this, nullptr);
    m_port->close();
}

void QtSerialLink::setCommPort(int port)
{
    if (m_port->isOpen())
        return;
    m_commPort = port;
}

CommError QtSerialLink::setSettings(const QString &settings)
{
    if (m_port->isOpen())
        return CommError::PortAlreadyOpen;
    const auto parsed = parsePortSettings(settings);
    if (!parsed)
        return CommError::BadSettings;
    m_settingsText = settings;
    m_settings = *parsed;
    return CommError::None;
}

CommError QtSerialLink::retune(const QString &settings)
{
    if (!m_port->isOpen())
        return setSettings(settings);
    const auto parsed = parsePortSettings(settings);
    if (!parsed)
        return CommError::BadSettings;
    m_settingsText = settings;
    m_settings = *parsed;
    const auto fail = [this](const QString &why) {
        closePort();
        return failOpen({OpenFailureCause::Other, m_device, {}, why});
    };
    if (!applyPortSettings())
        return fail(m_port->errorString());
    if (!applyReceiveOptions())
        return fail(refusedLineOptions());
    // Bytes read at the old settings answer nothing sent at the new ones.
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    m_received.clear();
    m_markCarry.clear();
    return CommError::None;
}

QString QtSerialLink::settings() const
{
    return m_settingsText;
}

void QtSerialLink::setDTREnable(bool enable)
{
    m_dtr = enable;
    if (m_port->isOpen())
        applyControlLines();
}

void QtSerialLink::setRTSEnable(bool enable)
{
    m_rts = enable;
    if (m_port->isOpen())
        applyControlLines();
}

bool QtSerialLink::portOpen() const
{
    return m_port->isOpen();
}

CommError QtSerialLink::setPortOpen(bool open)
{
    if (!open) {
        if (m_port->isOpen())
            closePort();
        return CommError::None;
    }
    if (m_port->isOpen())
        return CommError::PortAlreadyOpen;

    m_device = m_resolver ? m_resolver(m_commPort).value_or(QString()) : QString();
    if (m_device.isEmpty())
        return failOpen(diagnoseOpenFailure(m_device, {}));

    m_port->setPortName(m_device);
    applyPortSettings(); // only stored, for the open to apply
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString errorText = m_port->errorString();
        m_port->clearError();
        return failOpen(diagnoseOpenFailure(m_device, errorText));
    }

    if (!applyReceiveOptions()) {
        closePort();
        return failOpen({OpenFailureCause::Other, m_device, {}, refusedLineOptions()});
    }

    applyControlLines();
    // Whatever waited in the driver belongs to an earlier session.
    m_port->clear(QSerialPort::Input);
    m_port->clearError();
    ++m_session;
    m_live = true;
    emit opened(m_device);
    return CommError::None;
}

CommError QtSerialLink::failOpen(OpenFailure failure)
{
    m_openFailure = std::move(failure);
    emit openFailed(m_openFailure);
    return CommError::OpenFailed;
}

CommError QtSerialLink::output(const QByteArray &bytes)
{
    if (!m_port->isOpen())
        return CommError::PortNotOpen;
    if (bytes.isEmpty())
        return CommError::None;
    // QSerialPort queues everything and writes it out from the event loop.
    if (m_port->write(bytes) != bytes.size()) {
        m_port->clearError();
        return CommError::PortNotOpen;
    }
    return CommError::None;
}

bool QtSerialLink::finishOutput(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (m_port->isOpen() && m_port->bytesToWrite() > 0) {
        if (deadline.hasExpired() || !m_port->waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

QByteArray QtSerialLink::input()
{
    return std::exchange(m_received, QByteArray());
}

void QtSerialLink::drainPort()
{
    const QByteArray raw = m_port->readAll();
    if (raw.isEmpty())
        return;
    const QByteArray bytes = m_receiveErrors == ReceiveErrors::Marked
                                 ? unescapeParityMarks(raw, m_markCarry)
                                 : raw;
    const qsizetype room = std::max<qsizetype>(kReceiveBufferSize - m_received.size(), 0);
    m_received.append(bytes.left(room));

    if (m_received.isEmpty() || m_receiveEventPosted)
        return;
    m_receiveEventPosted = true;
    QMetaObject::invokeMethod(this, &QtSerialLink::raiseReceiveEvent, Qt::QueuedConnection);
}

void QtSerialLink::raiseReceiveEvent()
{
    // Cleared before the emission: bytes that arrive while a handler sits in
    // a modal box post the next event, which that box's loop delivers.
    m_receiveEventPosted = false;
    if (m_received.isEmpty())
        return;
    emit onComm();
}

void QtSerialLink::handleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        break;
    default:
        // UnsupportedOperationError (DTR/RTS on a pseudo-terminal) and the
        // rest change nothing for the link.
        return;
    }
    // A vanished device repeats its error from every read attempt; act on
    // the first. The close is queued because QSerialPort is still inside
    // its own read or write here.
    if (!m_live)
        return;
    m_live = false;
    const quint64 session = m_session;
    QMetaObject::invokeMethod(
        this,
        [this, session] {
            if (session != m_session || !m_port->isOpen())
                return;
            closePort();
            emit linkLost(m_device);
        },
        Qt::QueuedConnection);
}

void QtSerialLink::applyControlLines()
{
    // A pseudo-terminal has no modem lines and refuses both; the link works
    // without them, so the refusal is not an open failure.
    m_port->setRequestToSend(m_rts);
    m_port->setDataTerminalReady(m_dtr);
    m_port->clearError();
}

// On an open port Qt applies each setting at once, and rewrites the
// system's own line options as it does.
bool QtSerialLink::applyPortSettings()
{
    return m_port->setBaudRate(m_settings.speed)
           && m_port->setParity(toQtParity(m_settings.parity))
           && m_port->setDataBits(static_cast<QSerialPort::DataBits>(m_settings.dataBits))
           && m_port->setStopBits(m_settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)
           && m_port->setFlowControl(QSerialPort::NoFlowControl);
}

bool QtSerialLink::applyReceiveOptions()
{
    const std::optional<ReceiveErrors> receiveErrors = applyNativeLineOptions(*m_port);
    if (receiveErrors)
        m_receiveErrors = *receiveErrors;
    return receiveErrors.has_value();
}

void QtSerialLink::closePort()
{
    // Closing a hung-up device reports errors of its own; they are not a
    // second loss.
    m_live = false;
    m_port->close();
    m_port->clearError();
    m_received.clear();
    m_markCarry.clear();
}

OpenFailure diagnoseOpenFailure(const QString &device, const QString &errorText)
{
    OpenFailure failure;
    failure.device = device;
    if (device.isEmpty()) {
        failure.cause = OpenFailureCause::NoDevice;
        return failure;
    }
    failure.holder = lockHolder(device);
    if (!failure.holder.isEmpty()) {
        failure.cause = OpenFailureCause::Busy;
        return failure;
    }
    // A device that opens now failed for Qt's reasons.
    const int error = reopenError(device);
    if (error == 0) {
        failure.systemText = errorText;
        return failure;
    }
    failure.cause = causeOfOpenError(error);
    failure.systemText = qt_error_string(error).trimmed();
    return failure;
}

QString describeOpenFailure(const QString &portName, const OpenFailure &failure)
{
    // A port named by its device path is named once: "/x 不存在", not "/x：/x 不存在".
    const QString prefix = portName == failure.device ? QString() : portName + QStringLiteral("：");
    if (failure.device.isEmpty())
        return prefix + QStringLiteral("没有对应的串口设备");
    switch (failure.cause) {
    case OpenFailureCause::NoDevice:
        return prefix + failure.device + QStringLiteral(" 不存在（设备未连接或已拔出）");
    case OpenFailureCause::PermissionDenied:
        return prefix + QStringLiteral("无权打开 ") + failure.device + permissionRemedy();
    case OpenFailureCause::Busy:
        return prefix + failure.device + QStringLiteral(" 正被其他程序占用")
               + (failure.holder.isEmpty() ? QString()
                                           : QStringLiteral("（%1）").arg(failure.holder));
    case OpenFailureCause::Other:
        break;
    }
    return prefix + QStringLiteral("无法打开 ") + failure.device + QStringLiteral("：")
           + failure.systemText;
}
