#include "cli/output.h"

#include <cstdio>

namespace {

void put(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void printData(const QString &text)
{
    put(stdout, text + QLatin1Char('\n'));
}

void printMessage(const QString &text)
{
    put(stderr, text + QLatin1Char('\n'));
}

void Progress::show(const QString &text)
{
    if (!m_inPlace) {
        printMessage(text);
        return;
    }
    // Back to the start of the line, the new text, the rest of the old erased.
    put(stderr, QStringLiteral("\r") + text + QStringLiteral("\x1b[K"));
    m_showing = true;
}

void Progress::clear()
{
    if (!m_showing)
        return;
    put(stderr, QStringLiteral("\r\x1b[K"));
    m_showing = false;
}
