#include "cli/arguments.h"

#include "platform/desktop.h"
#include "platform/ports.h"
#include "protocol/scanorder.h"

#include <QCommandLineParser>

namespace {

constexpr unsigned bit(Command c)
{
    return 1u << unsigned(c);
}
constexpr unsigned kTalking = bit(Command::Detect) | bit(Command::Read) | bit(Command::Write)
                              | bit(Command::Activate);
constexpr unsigned kEveryCommand = kTalking | bit(Command::Ports) | bit(Command::Find);

struct CommandRow {
    Command command;
    const char *name;
    const char *summary;
};

constexpr CommandRow kCommands[] = {
    {Command::Ports, "ports", "列出 COM 端口号对应的设备和系统的所有串口设备"},
    {Command::Detect, "detect", "在窗口程序检测的各种线路设置中找到电台，先试上次应答的设置"},
    {Command::Find, "find", "同时在所有接有设备的 COM 端口上检测，列出各端口上找到的电台（主板上的串口仅在给出 --all 时）"},
    {Command::Read, "read", "读取五个参数（未给 --settings 时先检测）"},
    {Command::Write, "write", "写入给出的参数，其余保持电台现有的值：先读出、列出改变并备份原参数，写入后回读核对"},
    {Command::Activate, "activate", "发送激活命令；--follow 在新的接口速率和校验下重新找到电台"},
};

struct OptionRow {
    const char *name;
    const char *valueName; // nullptr for a switch
    const char *description;
    unsigned commands;
    const char *alias = nullptr; // a one-letter name as well
};

// Options ahead of the five parameters' in the help, then those after.
constexpr OptionRow kLeadingOptions[] = {
    // %1: the names the system's ports go by.
    {"port", "串口", "%1；COMn 与窗口程序的对应关系相同", kTalking},
    {"timeout", "毫秒", "等待读取、写入、激活的应答的时间（检测的每次探测另按线路时间计）", kTalking},
    {"trace", nullptr, "在标准错误上记录线路上的每个字节（时间、方向、线路设置、十六进制）", kTalking},
    {"json", nullptr, "以 JSON 输出数据（键名为英文）", bit(Command::Ports) | bit(Command::Detect)
                                                        | bit(Command::Read) | bit(Command::Activate)
                                                        | bit(Command::Find)},
    {"settings", "设置", "电台当前的线路设置，如 9600,E,8,1；省略时先检测", bit(Command::Read)
                                                                  | bit(Command::Write) | bit(Command::Activate)},
    {"probe-margin", "毫秒", "检测时每种设置在线路时间之外多等的时间", kTalking | bit(Command::Find)},
    {"all", nullptr, "连同主板上的串口（不经 USB 的串口）一起探测", bit(Command::Find)},
};
constexpr OptionRow kTrailingOptions[] = {
    {"profile", "文件", "从 read --json 输出的文件取参数；命令行上给出的参数优先", bit(Command::Write)},
    {"peer", nullptr, "交换给出的发射与接收频点，用于链路另一端的电台", bit(Command::Write)},
    {"no-verify", nullptr, "写入后不回读核对", bit(Command::Write)},
    {"force", nullptr, "电台的参数已与要写入的相同时照样写入", bit(Command::Write)},
    {"dry-run", nullptr, "只读取电台并列出会改变的参数，不写入", bit(Command::Write)},
    {"follow", nullptr, "激活后在电台存储的接口速率和校验下重新找到它，读取确认并输出新的线路设置",
     bit(Command::Activate)},
    {"help", nullptr, "显示本帮助", kEveryCommand, "h"},
    {"version", nullptr, "显示版本", kEveryCommand},
};

struct Option {
    QString name;
    QString valueName;
    QString description;
    unsigned commands;
    QString alias;
};

Option fromRow(const OptionRow &row)
{
    QString description = QString::fromUtf8(row.description);
    if (description.contains(QLatin1String("%1")))
        description = description.arg(portNameHint());
    return {QLatin1String(row.name), row.valueName ? QString::fromUtf8(row.valueName) : QString(),
            description, row.commands, QLatin1String(row.alias)};
}

// Every option, the five parameters' named and described by the profile's
// own field table.
QList<Option> allOptions()
{
    QList<Option> options;
    for (const OptionRow &row : kLeadingOptions)
        options.append(fromRow(row));
    for (const Field field : kAllFields) {
        const FieldNames &names = namesOf(field);
        options.append({QLatin1String(names.option).mid(2), QStringLiteral("值"),
                        QString::fromUtf8(names.label) + acceptedValues(field), bit(Command::Write), {}});
    }
    for (const OptionRow &row : kTrailingOptions)
        options.append(fromRow(row));
    return options;
}

constexpr const char *kExitCodes[] = {
    "0  完成",
    "1  用法或输入有误（未发送任何内容）",
    "2  无法打开串口（并说明原因）",
    "3  没有应答、找不到电台或电台已断开",
    "4  电台拒绝（应答不正确）",
    "5  回读的参数与写入的不同",
    "6  读取电台后停止，未写入：无法保存备份，或电台存储的某项无法原样写回",
    "130  被 Ctrl-C 中断（正在写的帧已写完，串口已关闭）",
};

QString utf8(const char *text)
{
    return QString::fromUtf8(text);
}

// Pads to `columns` terminal columns, Chinese characters taking two.
QString padded(const QString &text, int columns)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x1100 ? 2 : 1;
    return text + QString(std::max(1, columns - width), QLatin1Char(' '));
}

std::optional<int> boundedNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<QString> scanSettings(const QString &text)
{
    if (const auto at = protocol::scanPosition(text.toStdString()))
        return QLatin1String(protocol::ScanSettings[*at]);
    return std::nullopt;
}

// QCommandLineParser words its complaints in English, and names no kind
// other than an unknown option. The kind is found by matching its text with
// its own wording of each kind for the arguments given, then said in Chinese;
// anything else is passed on as it is.
QString parserError(const QCommandLineParser &parser, const QStringList &arguments)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("未知选项 %1%2").arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    const QString text = parser.errorText();
    for (const QString &argument : arguments) {
        const QString option = argument.section(QLatin1Char('='), 0, 0);
        if (text == QCommandLineParser::tr("Missing value after '%1'.").arg(argument))
            return QStringLiteral("选项 %1 缺少值").arg(option);
        if (text == QCommandLineParser::tr("Unexpected value after '%1'.").arg(option))
            return QStringLiteral("选项 %1 不带值").arg(option);
    }
    return text;
}

ParsedArguments usageError(const QString &text)
{
    ParsedArguments parsed;
    parsed.error = text;
    return parsed;
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QList<Option> options = allOptions();
    for (const Option &row : options) {
        QCommandLineOption option(row.alias.isEmpty() ? QStringList{row.name} : QStringList{row.alias, row.name},
                                  row.description);
        option.setValueName(row.valueName);
        parser.addOption(option);
    }
    if (!parser.parse(arguments))
        return usageError(parserError(parser, arguments));

    ParsedArguments parsed;
    parsed.help = parser.isSet(QStringLiteral("help"));
    // Both asked for: the help, which names the version's option too.
    parsed.version = !parsed.help && parser.isSet(QStringLiteral("version"));
    if (parsed.help || parsed.version)
        return parsed;

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("缺少命令")
                                               : QStringLiteral("只能给一个命令：%1").arg(positional.join(QLatin1Char(' '))));
    Invocation run;
    const CommandRow *command = nullptr;
    for (const CommandRow &row : kCommands) {
        if (positional.first() == QLatin1String(row.name))
            command = &row;
    }
    if (!command)
        return usageError(QStringLiteral("未知命令 %1").arg(positional.first()));
    run.command = command->command;

    for (const Option &row : options) {
        if (parser.isSet(row.name) && !(row.commands & bit(run.command)))
            return usageError(QStringLiteral("选项 --%1 不能用于 %2").arg(row.name, QLatin1String(command->name)));
    }
    const auto value = [&](const char *name) { return parser.value(QLatin1String(name)); };
    const auto given = [&](const char *name) { return parser.isSet(QLatin1String(name)); };

    if (given("port")) {
        const auto port = parsePortName(value("port"));
        if (!port)
            return usageError(QStringLiteral("--port 的值 %1 无效：应为 %2").arg(value("port"), portNameHint()));
        run.port = *port;
    }
    if (given("timeout")) {
        const auto ms = boundedNumber(value("timeout"), 1, 600000);
        if (!ms)
            return usageError(QStringLiteral("--timeout 的值 %1 无效：应为 1 至 600000 毫秒").arg(value("timeout")));
        run.timeoutMs = *ms;
    }
    if (given("probe-margin")) {
        const auto ms = boundedNumber(value("probe-margin"), 0, 60000);
        if (!ms)
            return usageError(QStringLiteral("--probe-margin 的值 %1 无效：应为 0 至 60000 毫秒").arg(value("probe-margin")));
        run.probeMarginMs = *ms;
    }
    if (given("settings")) {
        run.settings = scanSettings(value("settings"));
        if (!run.settings)
            return usageError(QStringLiteral("--settings 的值 %1 无效：应为窗口程序检测的设置之一，如 9600,E,8,1（速率 1200 至 57600，校验 N、O 或 E）")
                                  .arg(value("settings")));
    }
    if (given("profile"))
        run.profile = value("profile");
    for (const Field field : kAllFields) {
        const QString name = QLatin1String(namesOf(field).option).mid(2);
        if (parser.isSet(name))
            run.values[field] = parser.value(name);
    }
    run.trace = given("trace");
    run.json = given("json");
    run.peer = given("peer");
    run.verify = !given("no-verify");
    run.force = given("force");
    run.dryRun = given("dry-run");
    run.follow = given("follow");
    run.all = given("all");
    parsed.invocation = run;
    return parsed;
}

QString helpText()
{
    QStringList lines{QStringLiteral("用法：radioctl <命令> [选项]"), QString(),
                      QStringLiteral("按脚本读取、写入和激活数传电台的参数。数据输出到标准输出，提示输出到标准错误。"),
                      QString(), QStringLiteral("命令：")};
    for (const CommandRow &row : kCommands)
        lines << QStringLiteral("  ") + padded(QLatin1String(row.name), 10) + utf8(row.summary);
    lines << QString() << QStringLiteral("选项：");
    for (const Option &row : allOptions()) {
        QStringList usedBy;
        for (const CommandRow &c : kCommands) {
            if (row.commands & bit(c.command))
                usedBy << QLatin1String(c.name);
        }
        const QString name = (row.alias.isEmpty() ? QString() : QStringLiteral("-%1, ").arg(row.alias))
                             + QStringLiteral("--") + row.name
                             + (row.valueName.isEmpty() ? QString() : QLatin1Char(' ') + row.valueName);
        lines << QStringLiteral("  ") + padded(name, 22) + row.description
              + (row.commands == kEveryCommand ? QString() : QStringLiteral("（%1）").arg(usedBy.join(QLatin1Char(' '))));
    }
    const Invocation defaults;
    lines << QStringLiteral("  默认：--port %1，--timeout %2，--probe-margin %3")
                 .arg(defaults.port.name).arg(defaults.timeoutMs).arg(defaults.probeMarginMs);
    lines << QString() << QStringLiteral("退出码：");
    for (const char *code : kExitCodes)
        lines << QStringLiteral("  ") + utf8(code);
    lines << QString() << QStringLiteral("写入前的备份和各串口上次应答的线路设置保存在 %1。").arg(stateFolderHint())
          << QStringLiteral("详见 man radioctl。");
    return lines.join(QLatin1Char('\n'));
}
