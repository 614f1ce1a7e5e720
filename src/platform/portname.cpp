#include "platform/portname.h"

#include "platform/portmap.h"

namespace {

// More digits than any system numbers its ports with.
constexpr int kMaxComDigits = 4;

} // namespace

std::optional<int> comPortNumber(const QString &text)
{
    if (!text.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
        return std::nullopt;
    const QString digits = text.mid(3);
    if (digits.isEmpty() || digits.size() > kMaxComDigits)
        return std::nullopt;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return digits.toInt();
}

std::optional<NamedPort> parsePortName(const QString &text)
{
    const std::optional<int> n = comPortNumber(text);
    if (n && *n >= 1 && *n <= kComPortCount)
        return NamedPort{QStringLiteral("COM%1").arg(*n), *n, {}};
    return parseSystemPortName(text);
}
