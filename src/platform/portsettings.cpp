#include "platform/portsettings.h"

#include <QStringList>

#include <limits>

namespace {

bool isDecimal(const QString &field)
{
    if (field.isEmpty())
        return false;
    for (const QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<qint32> parseSpeed(const QString &field)
{
    if (!isDecimal(field))
        return std::nullopt;
    bool ok = false;
    const qlonglong value = field.toLongLong(&ok);
    if (!ok || value <= 0 || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<PortSettings::Parity> parseParity(const QString &field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.at(0).toUpper().unicode()) {
    case 'N':
        return PortSettings::Parity::None;
    case 'O':
        return PortSettings::Parity::Odd;
    case 'E':
        return PortSettings::Parity::Even;
    default:
        return std::nullopt;
    }
}

std::optional<int> parseDigit(const QString &field, int low, int high)
{
    if (field.size() != 1 || !isDecimal(field))
        return std::nullopt;
    const int value = field.at(0).unicode() - '0';
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PortSettings> parsePortSettings(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 4)
        return std::nullopt;

    const auto speed = parseSpeed(fields.at(0));
    const auto parity = parseParity(fields.at(1));
    const auto dataBits = parseDigit(fields.at(2), 5, 8);
    const auto stopBits = parseDigit(fields.at(3), 1, 2);
    if (!speed || !parity || !dataBits || !stopBits)
        return std::nullopt;

    PortSettings settings;
    settings.speed = *speed;
    settings.parity = *parity;
    settings.dataBits = *dataBits;
    settings.stopBits = *stopBits;
    return settings;
}
