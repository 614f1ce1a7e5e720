// What a write would send for a command line and profile to a unit that
// stores the master's values, after the lines that say what changes; or the
// message that stops it before anything is written.
#include "cli/arguments.h"
#include "cli/profile.h"
#include "protocol/parameterreply.h"


#include <gtest/gtest.h>

namespace {

struct Case {
    QStringList args;    // after "radioctl"
    const char *profile; // the file's content, or none
    const char *expect;  // how the outcome begins: the change lines and the frame in hex, or the message
    const char *unit = "F0 AA 88 F6 D0 19 A0 FA 22 1A A7 0D"; // its parameter reply: the master's values
};

const QStringList kWrite{"write", "--tx", "433125000", "--rx", "438500000", "--interface", "9600",
                         "--channel", "38400"};
const char kMaster[] = R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600,
                           "channel_rate": 38400, "parity": "odd"})";

const Case kCases[] = {
    {kWrite + QStringList{"--parity", "odd"}, nullptr, "F0 AA 88 F6 D0 19 A0 FA 22 1A A7 0D"},
    {kWrite + QStringList{"--parity", "奇", "--peer"}, nullptr,
     "发射频点：433125000 → 438500000\n接收频点：438500000 → 433125000\nF0 AA A0 FA 22 1A 88 F6 D0 19 A7 0D"},
    {{"write", "--parity", "none", "--channel", "1200"}, kMaster,
     "信道速率：38400 → 1200\n校验格式：奇 → 无\nF0 AA 88 F6 D0 19 A0 FA 22 1A 03 0D"},
    {{"write", "--interface", "4800"}, nullptr, "接口速率：9600 → 4800\nF0 AA 88 F6 D0 19 A0 FA 22 1A A6 0D"},
    {{"write", "--rx", "433125000", "--peer"}, nullptr, "F0 AA 88 F6 D0 19 A0 FA 22 1A A7 0D"},
    {{"write", "--parity", "odd", "--peer"}, nullptr, "--peer 交换给出的发射与接收频点，但没有给出频点"},
    {{"write", "--interface", "4800"}, nullptr, "电台存储的校验格式（无法识别）无法原样写回", "F0 AA 88 F6 D0 19 A0 FA 22 1A B7 0D"},
    {{"write", "--interface", "4800"}, nullptr, "电台存储的发射频点（99999）无法原样写回", "F0 AA 9F 86 01 00 A0 FA 22 1A A7 0D"},
    {{"write", "--tx", "99999"}, kMaster, "--tx（发射频点）的值 99999 无效"},
    {{"write", "--rx", "1000000000"}, kMaster, "--rx（接收频点）的值 1000000000 无效"},
    {{"write", "--tx", "43312500x"}, kMaster, "--tx（发射频点）"},
    {{"write", "--interface", "9601"}, kMaster, "--interface（接口速率）的值 9601 无效：可选 1200、"},
    {{"write", "--parity", "mark"}, kMaster, "--parity（校验格式）的值 mark 无效"},
    {{"write"}, "{\"tx_hz\": 433125000,", "p.json 不是有效的 JSON"},
    {{"write"}, "[]", "p.json：应为一个 JSON 对象"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400})",
     "p.json：缺少字段 parity"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd", "power": 5})", "p.json：未知字段 power"},
    {{"write"}, R"({"tx_hz": "433125000", "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd"})", "p.json：字段 tx_hz（发射频点）应为整数"},
    {{"write"}, R"({"tx_hz": 433125000.5, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd"})", "p.json：字段 tx_hz"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": 1})", "p.json：字段 parity（校验格式）应为字符串"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 100,
                   "parity": "odd"})", "p.json：字段 channel_rate（信道速率）的值 100 无效"},
    {{"read", "--tx", "433125000"}, nullptr, "选项 --tx 不能用于 read"},
    {{"read", "--settings", "9600,M,8,1"}, nullptr, "--settings 的值 9600,M,8,1 无效"},
    {{"read", "--settings", "115200,N,8,1"}, nullptr, "--settings 的值 115200,N,8,1 无效"},
    {{"read", "--port", "COM0"}, nullptr, "--port 的值 COM0 无效"},
    {{"read", "--timeout", "0"}, nullptr, "--timeout 的值 0 无效"},
    {{"read", "--timeout"}, nullptr, "选项 --timeout 缺少值"},
    {{"read", "--json=x"}, nullptr, "选项 --json 不带值"},
    {{"read", "--bogus"}, nullptr, "未知选项 --bogus"},
    {{"read", "-h"}, nullptr, "用法：radioctl <命令> [选项]"},
    {{"erase"}, nullptr, "未知命令 erase"},
    {{}, nullptr, "缺少命令"},
};

QString hex(const protocol::Bytes &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())).toHex(' ').toUpper();
}

QString outcome(const Case &c)
{
    const ParsedArguments parsed = parseArguments(QStringList{"radioctl"} + c.args);
    if (!parsed.invocation)
        return parsed.help ? helpText() : parsed.error;
    std::optional<ProfileFile> file;
    if (c.profile)
        file = ProfileFile{QStringLiteral("p.json"), QByteArray(c.profile)};
    const CheckedRequest request = requestedValues(file, parsed.invocation->values, parsed.invocation->peer);
    if (!request.requested)
        return request.error;
    const QByteArray reply = QByteArray::fromHex(c.unit);
    const auto stored = protocol::DecodeParameterReply(protocol::Bytes(reply.begin(), reply.end()));
    const CheckedParameters target = completed(*request.requested, stored);
    if (!target.parameters)
        return target.error;
    return (changes(stored, *target.parameters) << hex(parameterFrame(*target.parameters))).join(QLatin1Char('\n'));
}

} // namespace

TEST(WriteInput, IsCheckedAsTheWindowChecksItAndCompletedFromTheUnit)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const QString o = outcome(c);
        EXPECT_TRUE(o.startsWith(QString::fromUtf8(c.expect))) << o.toStdString();
    }
}
