#include "cli/output.h"

#include "platform/console.h"

#include <utility>

namespace {

// Characters a terminal draws two columns wide: CJK ideographs, kana,
// Hangul and the full-width forms ("（" in "（1/21）").
struct WideRange {
    char16_t first, last;
};
constexpr WideRange kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},
};

int columns(const QString &text)
{
    int n = 0;
    for (const QChar c : text) {
        int width = 1;
        for (const WideRange &r : kWide) {
            if (c.unicode() >= r.first && c.unicode() <= r.last)
                width = 2;
        }
        n += width;
    }
    return n;
}

} // namespace

void printData(const QString &text)
{
    writeText(ConsoleStream::Output, text + QLatin1Char('\n'));
}

void printMessage(const QString &text)
{
    writeText(ConsoleStream::Error, text + QLatin1Char('\n'));
}

Progress::Progress(bool inPlace)
    : Progress(inPlace, stderrTakesEscapes() ? Erase::Escape : Erase::Spaces,
               [](const QString &text) { writeText(ConsoleStream::Error, text); })
{
}

Progress::Progress(bool inPlace, Erase erase, Writer write)
    : m_inPlace(inPlace), m_erase(erase), m_write(std::move(write))
{
}

void Progress::show(const QString &text)
{
    if (!m_inPlace) {
        m_write(text + QLatin1Char('\n'));
        return;
    }
    // Back to the start of the line, the new text, the rest of the old erased.
    const int width = columns(text);
    if (m_erase == Erase::Escape)
        m_write(QLatin1Char('\r') + text + QStringLiteral("\x1b[K"));
    else
        m_write(QLatin1Char('\r') + text + QString(qMax(0, m_columns - width), QLatin1Char(' ')));
    m_columns = width;
    m_showing = true;
}

void Progress::clear()
{
    if (!m_showing)
        return;
    if (m_erase == Erase::Escape)
        m_write(QStringLiteral("\r\x1b[K"));
    else
        m_write(QLatin1Char('\r') + QString(m_columns, QLatin1Char(' ')) + QLatin1Char('\r'));
    m_showing = false;
    m_columns = 0;
}
