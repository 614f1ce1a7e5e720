#include "simprocess.h"

#include <QTest>

// ASan wants its runtime first in the library list, ahead of the preloaded
// shim; ASAN_OPTIONS can still add to this.
extern "C" const char *__asan_default_options()
{
    return "verify_asan_link_order=0";
}

SimProcess::~SimProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(1000);
}

bool SimProcess::start(const QStringList &args, const QString &portsDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_PRELOAD"));
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral(RADIO_SIM_PATH),
                    args + QStringList{QStringLiteral("--ports-dir"), portsDir});
    return m_process.waitForStarted() && waitForLine(QStringLiteral(" ready "));
}

void SimProcess::readLines()
{
    m_partial += m_process.readAllStandardOutput();
    for (qsizetype nl; (nl = m_partial.indexOf('\n')) >= 0; m_partial.remove(0, nl + 1))
        m_lines << QString::fromUtf8(m_partial.left(nl));
}

QStringList SimProcess::linesWith(const QString &text, qsizetype from)
{
    readLines();
    return m_lines.mid(from).filter(text);
}

qsizetype SimProcess::lineCount()
{
    readLines();
    return m_lines.size();
}

QStringList SimProcess::readsAt(qsizetype from)
{
    QStringList at;
    for (const QString &line : linesWith(QStringLiteral("tool>dev F0 CC 0D"), from))
        at << line.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0);
    return at;
}

bool SimProcess::waitForLine(const QString &text, qsizetype from, int ms)
{
    return QTest::qWaitFor([&] { return !linesWith(text, from).isEmpty(); }, ms);
}

void SimProcess::kill()
{
    m_process.kill();
    m_process.waitForFinished(3000);
    readLines();
}
