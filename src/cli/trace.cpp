#include "cli/trace.h"

#include "cli/output.h"

Trace::Trace(bool on) : m_on(on)
{
    m_clock.start();
}

void Trace::line(const QString &settings, const QString &what, const QString &bytes)
{
    if (!m_on)
        return;
    const QString seconds = QString::number(double(m_clock.nsecsElapsed()) / 1e9, 'f', 3);
    QString text = QStringLiteral("%1 %2 %3").arg(seconds, 7).arg(settings, what);
    if (!bytes.isEmpty())
        text += QLatin1Char(' ') + bytes;
    printMessage(text);
}
