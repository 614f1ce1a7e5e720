#include "cli/session.h"

#include "cli/detection.h"
#include "cli/state.h"
#include "platform/console.h"
#include "platform/ports.h"
#include "words/texts.h"

namespace {

// COMn as the window maps it; any other name is its device.
std::optional<QString> deviceOf(const NamedPort &port)
{
    if (port.comNumber != 0)
        return resolveComPort(port.comNumber);
    return port.device;
}

} // namespace

Session::Session(const Invocation &run)
    : m_run(run),
      m_trace(run.trace),
      m_line(run.port.name, deviceOf(run.port), m_trace),
      // The trace shares standard error: progress then takes lines of its own.
      m_progress(stderrIsTerminal() && !run.trace)
{
}

QString Session::reach()
{
    if (m_run.settings) {
        m_line.open(*m_run.settings);
        return *m_run.settings;
    }
    return detectIn(detectionOrder(rememberedSettings(m_run.port.name)),
                    QString::fromUtf8(words::outcomes::kNoDevice) + QStringLiteral("（%1）").arg(m_run.port.name));
}

QString Session::detectIn(const QStringList &order, const QString &whenNone)
{
    const auto found = detect(m_line, order, m_run.probeMarginMs, m_progress);
    if (!found)
        throw Failure{exitcode::kNoAnswer, whenNone};
    rememberSettings(m_run.port.name, *found);
    return *found;
}

protocol::Bytes Session::request(const protocol::Bytes &request, protocol::Operation op,
                                 protocol::Verdict wanted)
{
    const Answer answer = m_line.exchange(request, op, m_run.timeoutMs);
    const QString name = QString::fromStdString(protocol::operationName(op));
    if (answer.verdict == protocol::Verdict::Gathering)
        throw Failure{exitcode::kNoAnswer, QStringLiteral("电台没有应答%1请求（%2，%3，等了 %4 毫秒）")
                                               .arg(name, m_run.port.name, m_line.settings())
                                               .arg(m_run.timeoutMs)};
    if (answer.verdict != wanted)
        throw Failure{exitcode::kRefused, name + QString::fromUtf8(words::outcomes::kFailedSuffix)};
    rememberSettings(m_run.port.name, m_line.settings());
    return answer.frame;
}

protocol::ParameterReply Session::readUnit()
{
    return protocol::DecodeParameterReply(
        request(protocol::ReadRequest(), protocol::Operation::Read, protocol::Verdict::ParametersRead));
}
