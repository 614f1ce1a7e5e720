#include "cli/profile.h"

#include "protocol/texts.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <tuple>

namespace {

enum class Kind { Frequency, Rate, Parity };

struct FieldRow {
    Field field;
    Kind kind;
    FieldNames names;
};

constexpr std::array<FieldRow, kFieldCount> kFields{{
    {Field::Tx, Kind::Frequency, {"tx_hz", "--tx", protocol::kTransmitLabel}},
    {Field::Rx, Kind::Frequency, {"rx_hz", "--rx", protocol::kReceiveLabel}},
    {Field::Interface, Kind::Rate, {"interface_rate", "--interface", protocol::kInterfaceLabel}},
    {Field::Channel, Kind::Rate, {"channel_rate", "--channel", protocol::kChannelLabel}},
    {Field::Parity, Kind::Parity, {"parity", "--parity", protocol::kParityLabel}},
}};

// The parity list in its own order (none, odd, even), named for profiles and
// for line settings.
struct ParityName {
    const char *profile;
    char letter;
};
constexpr std::array<ParityName, 3> kParityNames{{{"none", 'N'}, {"odd", 'O'}, {"even", 'E'}}};
static_assert(kParityNames.size() == std::tuple_size_v<std::decay_t<decltype(protocol::ParityTable)>>);

const FieldRow &rowOf(Field field)
{
    return kFields[static_cast<std::size_t>(field)];
}

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// A stored value as the window would show it; an empty box said in words.
QString orUnknown(const QString &shown)
{
    return shown.isEmpty() ? QStringLiteral("无法识别") : shown;
}

// The label without its colon, for naming the field inside a sentence.
QString nameOf(const FieldRow &row)
{
    QString name = utf8(row.names.label);
    if (name.endsWith(QChar(0xFF1A)))
        name.chop(1);
    return name;
}

std::optional<int> parityIndex(const QString &text)
{
    for (std::size_t i = 0; i < kParityNames.size(); ++i) {
        if (text == QLatin1String(kParityNames[i].profile) || text == utf8(protocol::ParityTable[i].text))
            return int(i);
    }
    return std::nullopt;
}

std::optional<int> rateIndex(const QString &text)
{
    for (std::size_t i = 0; i < protocol::RateTable.size(); ++i) {
        if (text == QLatin1String(protocol::RateTable[i].text))
            return int(i);
    }
    return std::nullopt;
}

// One entry per field shown otherwise in `a` than in `b`, in field order,
// worded by `say(row, a's text, b's text)`.
template <typename Say>
QStringList differing(const ShownFields &a, const ShownFields &b, Say say)
{
    QStringList found;
    for (const FieldRow &row : kFields) {
        const std::size_t i = std::size_t(row.field);
        if (a[i] != b[i])
            found << say(row, a[i], b[i]);
    }
    return found;
}

// Digits only, at least kMinFrequency, at most kMaxFrequencyDigits digits.
std::optional<std::uint32_t> frequency(const QString &text)
{
    if (text.isEmpty() || text.size() > protocol::kMaxFrequencyDigits)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    const std::uint32_t value = text.toUInt();
    if (value < protocol::kMinFrequency)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> valueOf(Kind kind, const QString &text)
{
    switch (kind) {
    case Kind::Frequency:
        return frequency(text);
    case Kind::Rate:
        if (const auto i = rateIndex(text))
            return std::uint32_t(*i);
        return std::nullopt;
    case Kind::Parity:
        if (const auto i = parityIndex(text))
            return std::uint32_t(*i);
        return std::nullopt;
    }
    return std::nullopt;
}

// A profile carries frequencies and rates as JSON numbers and parity as a
// string; the same text rule then applies as on the command line.
std::optional<QString> jsonText(Kind kind, const QJsonValue &value)
{
    if (kind == Kind::Parity)
        return value.isString() ? std::optional(value.toString()) : std::nullopt;
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || std::fabs(number) > 1e15)
        return std::nullopt;
    return QString::number(qint64(number));
}

QString accepted(Kind kind)
{
    QStringList list;
    switch (kind) {
    case Kind::Frequency:
        return QStringLiteral("只接受数字，至少 %1，最多 %2 位")
            .arg(protocol::kMinFrequency)
            .arg(protocol::kMaxFrequencyDigits);
    case Kind::Rate:
        for (const protocol::RateRow &row : protocol::RateTable)
            list << QLatin1String(row.text);
        return QStringLiteral("可选 ") + list.join(QStringLiteral("、"));
    case Kind::Parity:
        for (std::size_t i = 0; i < kParityNames.size(); ++i)
            list << QStringLiteral("%1（%2）").arg(QLatin1String(kParityNames[i].profile), utf8(protocol::ParityTable[i].text));
        return QStringLiteral("可选 ") + list.join(QStringLiteral("、"));
    }
    return {};
}

QString badValue(const QString &where, const FieldRow &row, const QString &given)
{
    return QStringLiteral("%1（%2）的值 %3 无效：%4")
        .arg(where, nameOf(row), given, accepted(row.kind));
}

// Fills every field from the profile, or says what is wrong with it.
QString readProfile(const ProfileFile &file, Requested &values)
{
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.content, &parse);
    if (parse.error != QJsonParseError::NoError)
        return QStringLiteral("%1 不是有效的 JSON（第 %2 字节）：%3").arg(file.name).arg(parse.offset).arg(parse.errorString());
    if (!doc.isObject())
        return QStringLiteral("%1：应为一个 JSON 对象").arg(file.name);
    const QJsonObject object = doc.object();
    QStringList keys;
    for (const FieldRow &row : kFields)
        keys << QLatin1String(row.names.key);
    for (const QString &key : object.keys()) {
        if (!keys.contains(key))
            return QStringLiteral("%1：未知字段 %2（可用字段：%3）").arg(file.name, key, keys.join(QStringLiteral(", ")));
    }
    for (const FieldRow &row : kFields) {
        const QString key = QLatin1String(row.names.key);
        if (!object.contains(key))
            return QStringLiteral("%1：缺少字段 %2（%3）").arg(file.name, key, nameOf(row));
        const QJsonValue value = object.value(key);
        const QString where = QStringLiteral("%1：字段 %2").arg(file.name, key);
        const auto text = jsonText(row.kind, value);
        if (!text) {
            return QStringLiteral("%1（%2）应为%3").arg(where, nameOf(row),
                                                      row.kind == Kind::Parity ? QStringLiteral("字符串")
                                                                               : QStringLiteral("整数"));
        }
        const auto parsed = valueOf(row.kind, *text);
        if (!parsed)
            return badValue(where, row, *text);
        values[static_cast<std::size_t>(row.field)] = *parsed;
    }
    return {};
}

} // namespace

const FieldNames &namesOf(Field field)
{
    return rowOf(field).names;
}

QString acceptedValues(Field field)
{
    return accepted(rowOf(field).kind);
}

CheckedRequest requestedValues(const std::optional<ProfileFile> &profile,
                               const std::map<Field, QString> &options, bool peer)
{
    Requested values;
    if (profile) {
        if (QString error = readProfile(*profile, values); !error.isEmpty())
            return {std::nullopt, error};
    }
    for (const auto &[field, text] : options) {
        const FieldRow &row = rowOf(field);
        const auto parsed = valueOf(row.kind, text);
        if (!parsed)
            return {std::nullopt, badValue(QLatin1String(row.names.option), row, text)};
        values[std::size_t(field)] = *parsed;
    }
    auto &tx = values[std::size_t(Field::Tx)];
    auto &rx = values[std::size_t(Field::Rx)];
    if (peer && !tx && !rx)
        return {std::nullopt, QStringLiteral("--peer 交换给出的发射与接收频点，但没有给出频点（--tx、--rx 或 --profile）")};
    if (peer)
        std::swap(tx, rx);
    return {values, {}};
}

CheckedParameters completed(const Requested &requested, const protocol::ParameterReply &stored)
{
    const ShownFields shown = shownFields(stored);
    Parameters values{};
    for (const FieldRow &row : kFields) {
        const std::size_t i = std::size_t(row.field);
        const auto value = requested[i] ? requested[i] : valueOf(row.kind, shown[i]);
        if (!value) {
            return {std::nullopt,
                    QStringLiteral("电台存储的%1（%2）无法原样写回：%3；请用 %4 给出")
                        .arg(nameOf(row), orUnknown(shown[i]),
                             accepted(row.kind), QLatin1String(row.names.option))};
        }
        values[i] = *value;
    }
    return {values, {}};
}

QStringList changes(const protocol::ParameterReply &stored, const Parameters &target)
{
    return differing(shownFields(stored), shownFields(target), [](const FieldRow &row, const QString &before, const QString &after) {
        return utf8(row.names.label) + QStringLiteral("%1 → %2").arg(orUnknown(before), after);
    });
}

protocol::Bytes parameterFrame(const Parameters &p)
{
    return protocol::ParameterFrame(p[std::size_t(Field::Tx)], p[std::size_t(Field::Rx)],
                                    int(p[std::size_t(Field::Interface)]),
                                    int(p[std::size_t(Field::Channel)]),
                                    int(p[std::size_t(Field::Parity)]));
}

ShownFields shownFields(const protocol::ParameterReply &reply)
{
    const std::array<const std::optional<std::string> *, kFieldCount> fields{
        &reply.transmitFrequency, &reply.receiveFrequency, &reply.interfaceRate,
        &reply.channelRate, &reply.parity};
    ShownFields shown;
    for (std::size_t i = 0; i < kFieldCount; ++i)
        shown[i] = QString::fromStdString(fields[i]->value_or(std::string()));
    return shown;
}

ShownFields shownFields(const Parameters &p)
{
    ShownFields shown;
    for (const FieldRow &row : kFields) {
        const std::uint32_t value = p[std::size_t(row.field)];
        QString &text = shown[std::size_t(row.field)];
        switch (row.kind) {
        case Kind::Frequency:
            text = QString::number(value);
            break;
        case Kind::Rate:
            text = QLatin1String(protocol::RateTable.at(value).text);
            break;
        case Kind::Parity:
            text = utf8(protocol::ParityTable.at(value).text);
            break;
        }
    }
    return shown;
}

QString profileJson(const protocol::ParameterReply &reply)
{
    const ShownFields shown = shownFields(reply);
    QStringList members;
    for (const FieldRow &row : kFields) {
        const QString &text = shown[std::size_t(row.field)];
        QString value = QStringLiteral("null");
        if (row.kind == Kind::Parity) {
            if (const auto i = parityIndex(text))
                value = QStringLiteral("\"%1\"").arg(QLatin1String(kParityNames[std::size_t(*i)].profile));
        } else if (!text.isEmpty()) {
            value = text; // decimal digits, as decoded
        }
        members << QStringLiteral("\"%1\": %2").arg(QLatin1String(row.names.key), value);
    }
    return QLatin1Char('{') + members.join(QStringLiteral(", ")) + QLatin1Char('}');
}

QStringList differences(const Parameters &written, const protocol::ParameterReply &readBack)
{
    return differing(shownFields(written), shownFields(readBack), [](const FieldRow &row, const QString &wanted, const QString &got) {
        return QStringLiteral("%1（写入 %2，读回 %3）").arg(nameOf(row), wanted, got);
    });
}

QString settingsAfterActivation(const protocol::ParameterReply &stored, const QString &current)
{
    const ShownFields shown = shownFields(stored);
    QStringList parts = current.split(QLatin1Char(','));
    if (parts.size() != 4)
        return current;
    parts[0] = shown[std::size_t(Field::Interface)];
    if (const auto i = parityIndex(shown[std::size_t(Field::Parity)]))
        parts[1] = QLatin1Char(kParityNames[std::size_t(*i)].letter);
    return parts.join(QLatin1Char(','));
}
