#include "cli/fields.h"

#include "words/texts.h"

#include <algorithm>

namespace {

struct FieldRow {
    Field field;
    FieldKind kind;
    FieldNames names;
};

constexpr std::array<FieldRow, kFieldCount> kFields{{
    {Field::Tx, FieldKind::Frequency, {"tx_hz", "--tx", words::kTransmitLabel}},
    {Field::Rx, FieldKind::Frequency, {"rx_hz", "--rx", words::kReceiveLabel}},
    {Field::Interface, FieldKind::Rate, {"interface_rate", "--interface", words::kInterfaceLabel}},
    {Field::Channel, FieldKind::Rate, {"channel_rate", "--channel", words::kChannelLabel}},
    {Field::Parity, FieldKind::Parity, {"parity", "--parity", words::kParityLabel}},
}};

// Parity in line settings, in the list's order.
constexpr char kParityLetters[] = "NOE";
static_assert(kParityNames.size() == words::kParities.size() && sizeof kParityLetters == kParityNames.size() + 1);

const FieldRow &rowOf(Field field)
{
    return kFields[static_cast<std::size_t>(field)];
}

FieldValues given(const Parameters &parameters)
{
    FieldValues values;
    std::copy(parameters.begin(), parameters.end(), values.begin());
    return values;
}

// One entry per field whose value differs between `a` and `b`, in field
// order, worded by `say(field, a's value, b's value)`.
template <typename Say>
QStringList differing(const FieldValues &a, const FieldValues &b, Say say)
{
    QStringList found;
    for (const Field field : kAllFields) {
        const std::size_t i = std::size_t(field);
        if (a[i] != b[i])
            found << say(field, a[i], b[i]);
    }
    return found;
}

// A value as a profile gives it: frequencies and rates as numbers, parity by name.
QString jsonValue(FieldKind kind, std::uint32_t value)
{
    switch (kind) {
    case FieldKind::Frequency:
        return QString::number(value);
    case FieldKind::Rate:
        return QLatin1String(words::kRates.at(value));
    case FieldKind::Parity:
        return QStringLiteral("\"%1\"").arg(QLatin1String(kParityNames.at(value)));
    }
    return {};
}

} // namespace

const FieldNames &namesOf(Field field)
{
    return rowOf(field).names;
}

FieldKind kindOf(Field field)
{
    return rowOf(field).kind;
}

QString nameOf(Field field)
{
    QString name = QString::fromUtf8(namesOf(field).label);
    if (name.endsWith(QChar(0xFF1A)))
        name.chop(1);
    return name;
}

FieldValues valuesOf(const protocol::ParameterReply &reply)
{
    const auto position = [](std::optional<std::size_t> at) {
        return at ? std::optional(std::uint32_t(*at)) : std::nullopt;
    };
    return {reply.transmitFrequency, reply.receiveFrequency, position(reply.interfaceRate),
            position(reply.channelRate), position(reply.parity)};
}

QString shown(Field field, std::optional<std::uint32_t> value)
{
    if (!value)
        return {};
    switch (kindOf(field)) {
    case FieldKind::Frequency:
        return QString::number(*value);
    case FieldKind::Rate:
        return QString::fromUtf8(words::kRates.at(*value));
    case FieldKind::Parity:
        return QString::fromUtf8(words::kParities.at(*value));
    }
    return {};
}

QString shownStored(Field field, std::optional<std::uint32_t> value)
{
    const QString text = shown(field, value);
    return text.isEmpty() ? QStringLiteral("无法识别") : text;
}

QStringList changes(const protocol::ParameterReply &stored, const Parameters &target)
{
    return differing(valuesOf(stored), given(target), [](Field field, auto before, auto after) {
        return QString::fromUtf8(namesOf(field).label)
               + QStringLiteral("%1 → %2").arg(shownStored(field, before), shown(field, after));
    });
}

QString profileJson(const protocol::ParameterReply &reply)
{
    const FieldValues values = valuesOf(reply);
    QStringList members;
    for (const FieldRow &row : kFields) {
        const auto value = values[std::size_t(row.field)];
        members << QStringLiteral("\"%1\": %2").arg(QLatin1String(row.names.key),
                                                    value ? jsonValue(row.kind, *value) : QStringLiteral("null"));
    }
    return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QStringList differences(const Parameters &written, const protocol::ParameterReply &readBack)
{
    return differing(given(written), valuesOf(readBack), [](Field field, auto wanted, auto got) {
        return QStringLiteral("%1（写入 %2，读回 %3）").arg(nameOf(field), shown(field, wanted), shown(field, got));
    });
}

QString settingsAfterActivation(const protocol::ParameterReply &stored, const QString &current)
{
    QStringList parts = current.split(QLatin1Char(','));
    if (parts.size() != 4)
        return current;
    if (stored.interfaceRate)
        parts[0] = QLatin1String(words::kRates.at(*stored.interfaceRate));
    if (stored.parity)
        parts[1] = QLatin1Char(kParityLetters[*stored.parity]);
    return parts.join(QLatin1Char(','));
}
