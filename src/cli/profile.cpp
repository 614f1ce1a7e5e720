#include "cli/profile.h"

#include "words/texts.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace {

// The largest frequency of kMaxFrequencyDigits digits.
constexpr std::uint64_t kMaxFrequency = [] {
    std::uint64_t limit = 1;
    for (int i = 0; i < protocol::kMaxFrequencyDigits; ++i)
        limit *= 10;
    return limit - 1;
}();

bool inRange(std::uint64_t hz)
{
    return hz >= protocol::kMinFrequency && hz <= kMaxFrequency;
}

template <std::size_t N>
std::optional<std::uint32_t> positionIn(const std::array<const char *, N> &items, const QString &text)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == QString::fromUtf8(items[i]))
            return std::uint32_t(i);
    }
    return std::nullopt;
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
    if (!inRange(value))
        return std::nullopt;
    return value;
}

// What the user typed or the profile gives: a rate as its list item, parity
// by its profile name or list item.
std::optional<std::uint32_t> valueOf(FieldKind kind, const QString &text)
{
    switch (kind) {
    case FieldKind::Frequency:
        return frequency(text);
    case FieldKind::Rate:
        return positionIn(words::kRates, text);
    case FieldKind::Parity:
        if (const auto named = positionIn(kParityNames, text))
            return named;
        return positionIn(words::kParities, text);
    }
    return std::nullopt;
}

// A profile carries frequencies and rates as JSON numbers and parity as a
// string; the same text rule then applies as on the command line.
std::optional<QString> jsonText(FieldKind kind, const QJsonValue &value)
{
    if (kind == FieldKind::Parity)
        return value.isString() ? std::optional(value.toString()) : std::nullopt;
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || std::fabs(number) > 1e15)
        return std::nullopt;
    return QString::number(qint64(number));
}

QString badValue(const QString &where, Field field, const QString &given)
{
    return QStringLiteral("%1（%2）的值 %3 无效：%4").arg(where, nameOf(field), given, acceptedValues(field));
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
    for (const Field field : kAllFields)
        keys << QLatin1String(namesOf(field).key);
    for (const QString &key : object.keys()) {
        if (!keys.contains(key))
            return QStringLiteral("%1：未知字段 %2（可用字段：%3）").arg(file.name, key, keys.join(QStringLiteral(", ")));
    }
    for (const Field field : kAllFields) {
        const QString key = QLatin1String(namesOf(field).key);
        if (!object.contains(key))
            return QStringLiteral("%1：缺少字段 %2（%3）").arg(file.name, key, nameOf(field));
        const QString where = QStringLiteral("%1：字段 %2").arg(file.name, key);
        const FieldKind kind = kindOf(field);
        const auto text = jsonText(kind, object.value(key));
        if (!text) {
            return QStringLiteral("%1（%2）应为%3").arg(where, nameOf(field),
                                                      kind == FieldKind::Parity ? QStringLiteral("字符串")
                                                                                : QStringLiteral("整数"));
        }
        const auto parsed = valueOf(kind, *text);
        if (!parsed)
            return badValue(where, field, *text);
        values[std::size_t(field)] = *parsed;
    }
    return {};
}

} // namespace

QString acceptedValues(Field field)
{
    QStringList list;
    switch (kindOf(field)) {
    case FieldKind::Frequency:
        return QStringLiteral("只接受数字，至少 %1，最多 %2 位")
            .arg(protocol::kMinFrequency)
            .arg(protocol::kMaxFrequencyDigits);
    case FieldKind::Rate:
        for (const char *rate : words::kRates)
            list << QLatin1String(rate);
        return QStringLiteral("可选 ") + list.join(QStringLiteral("、"));
    case FieldKind::Parity:
        for (std::size_t i = 0; i < kParityNames.size(); ++i)
            list << QStringLiteral("%1（%2）").arg(QLatin1String(kParityNames[i]), QString::fromUtf8(words::kParities[i]));
        return QStringLiteral("可选 ") + list.join(QStringLiteral("、"));
    }
    return {};
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
        const auto parsed = valueOf(kindOf(field), text);
        if (!parsed)
            return {std::nullopt, badValue(QLatin1String(namesOf(field).option), field, text)};
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
    const FieldValues unit = valuesOf(stored);
    Parameters values{};
    for (const Field field : kAllFields) {
        const std::size_t i = std::size_t(field);
        // Any rate or parity a reply names can go back; a frequency only as the window would take it.
        const bool writable = unit[i] && (kindOf(field) != FieldKind::Frequency || inRange(*unit[i]));
        const auto value = requested[i] ? requested[i] : writable ? unit[i] : std::nullopt;
        if (!value) {
            return {std::nullopt,
                    QStringLiteral("电台存储的%1（%2）无法原样写回：%3；请用 %4 给出")
                        .arg(nameOf(field), shownStored(field, unit[i]), acceptedValues(field),
                             QLatin1String(namesOf(field).option))};
        }
        values[i] = *value;
    }
    return {values, {}};
}

protocol::Bytes parameterFrame(const Parameters &p)
{
    return protocol::ParameterFrame(p[std::size_t(Field::Tx)], p[std::size_t(Field::Rx)],
                                    int(p[std::size_t(Field::Interface)]),
                                    int(p[std::size_t(Field::Channel)]),
                                    int(p[std::size_t(Field::Parity)]));
}
