#include "cli/line.h"

#include "cli/failure.h"
#include "platform/console.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// How long closing may wait for a frame still being handed to the system.
constexpr int kFinishOutputMs = 2000;

QByteArray toByteArray(const protocol::Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size()));
}

// Runs `loop` until it quits, `ms` pass or the user stops.
void runBounded(QEventLoop &loop, int ms)
{
    QTimer window;
    window.setSingleShot(true);
    window.setTimerType(Qt::PreciseTimer);
    QObject::connect(&window, &QTimer::timeout, &loop, &QEventLoop::quit);
    const InterruptWake wake(loop);
    window.start(ms);
    loop.exec();
}

} // namespace

Line::Line(const QString &portName, const std::optional<QString> &device, Trace &trace)
    : m_portName(portName), m_trace(trace), m_link(device)
{
    // As the window does: some units draw their power from these lines.
    m_link.setRTSEnable(true);
    m_link.setDTREnable(true);
}

Line::~Line()
{
    close();
}

void Line::open(const QString &settings)
{
    stopIfAsked();
    m_settings = settings;
    if (m_link.portOpen()) {
        // In place: a reopen would drop DTR and RTS, which power or reset
        // many units.
        failUnless(m_link.retune(settings));
        return;
    }
    failUnless(m_link.setSettings(settings));
    failUnless(m_link.setPortOpen(true));
    m_trace.note(settings, QStringLiteral("open ") + m_link.device());
}

void Line::failUnless(CommError error) const
{
    if (error == CommError::None)
        return;
    if (error == CommError::BadSettings)
        throw Failure{exitcode::kBadInput, QStringLiteral("线路设置 %1 无效").arg(m_settings)};
    throw Failure{exitcode::kPortFailed, describeOpenFailure(m_portName, m_link.lastOpenFailure())};
}

void Line::close()
{
    if (!m_link.portOpen())
        return;
    m_link.finishOutput(kFinishOutputMs);
    static_cast<void>(m_link.setPortOpen(false));
    m_trace.note(m_settings, QStringLiteral("close"));
}

Answer Line::exchange(const protocol::Bytes &request, protocol::Operation op, int windowMs)
{
    stopIfAsked();
    static_cast<void>(m_link.input()); // bytes from before this request answer nothing
    const QByteArray bytes = toByteArray(request);
    if (m_link.output(bytes) != CommError::None)
        throw lost();
    m_trace.sent(m_settings, bytes);

    Answer answer;
    bool gone = false;

    QEventLoop loop;
    protocol::ReceiveBuffer buffer;
    QObject::connect(&m_link, &SerialLink::onComm, &loop, [&] {
        const QByteArray chunk = m_link.input();
        m_trace.received(m_settings, chunk);
        const protocol::Verdict verdict = protocol::receive(
            buffer, protocol::Bytes(chunk.begin(), chunk.end()), op, &answer.frame);
        // A chunk that starts no reply is dropped, as the window drops it.
        if (verdict == protocol::Verdict::Gathering || verdict == protocol::Verdict::Dropped)
            return;
        answer.verdict = verdict;
        loop.quit();
    });
    QObject::connect(&m_link, &QtSerialLink::linkLost, &loop, [&] {
        gone = true;
        loop.quit();
    });
    runBounded(loop, windowMs);
    if (gone)
        throw lost();
    stopIfAsked();
    return answer;
}

void Line::pause(int ms)
{
    QEventLoop loop;
    runBounded(loop, ms);
    stopIfAsked();
}

void Line::stopIfAsked()
{
    if (!interruptRequested())
        return;
    close();
    throw Failure{exitcode::kInterrupted, QStringLiteral("已中断")};
}

Failure Line::lost() const
{
    QString text = m_portName + QStringLiteral("：设备已断开");
    if (m_link.device() != m_portName)
        text += QStringLiteral("（%1）").arg(m_link.device());
    return Failure{exitcode::kNoAnswer, text};
}
