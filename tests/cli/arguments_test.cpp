// What a write would send for a command line and profile, or the message
// that stops it before anything is sent.
#include "cli/arguments.h"
#include "cli/profile.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    QStringList args;    // after "radioctl"
    const char *profile; // the file's content, or none
    const char *expect;  // the frame in hex, or a piece of the message
};

const QStringList kWrite{"write", "--tx", "433125000", "--rx", "438500000", "--interface", "9600",
                         "--channel", "38400"};
const char kMaster[] = R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600,
                           "channel_rate": 38400, "parity": "odd"})";

const Case kCases[] = {
    {kWrite + QStringList{"--parity", "odd"}, nullptr, "F0 AA 88 F6 D0 19 A0 FA 22 1A A7 0D"},
    {kWrite + QStringList{"--parity", "奇", "--peer"}, nullptr, "F0 AA A0 FA 22 1A 88 F6 D0 19 A7 0D"},
    {{"write", "--parity", "none", "--channel", "1200"}, kMaster, "F0 AA 88 F6 D0 19 A0 FA 22 1A 03 0D"},
    {{"write", "--tx", "99999"}, kMaster, "--tx（发射频点）的值 99999 无效"},
    {{"write", "--rx", "1000000000"}, kMaster, "--rx（接收频点）的值 1000000000 无效"},
    {{"write", "--tx", "43312500x"}, kMaster, "--tx（发射频点）"},
    {{"write", "--interface", "9601"}, kMaster, "--interface（接口速率）的值 9601 无效：可选 1200、"},
    {{"write", "--parity", "mark"}, kMaster, "--parity（校验格式）的值 mark 无效"},
    {kWrite, nullptr, "缺少 --parity"},
    {{"write"}, "{\"tx_hz\": 433125000,", "p.json 不是有效的 JSON"},
    {{"write"}, "[]", "p.json：应为一个 JSON 对象"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400})",
     "p.json：缺少字段 parity"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd", "power": 5})", "p.json：未知字段 power"},
    {{"write"}, R"({"tx_hz": "433125000", "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd"})", "p.json：字段 tx_hz（发射频点）应为整数"},
    {{"write"}, R"({"tx_hz": 433125000.5, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": "odd"})", "字段 tx_hz"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 38400,
                   "parity": 1})", "字段 parity（校验格式）应为字符串"},
    {{"write"}, R"({"tx_hz": 433125000, "rx_hz": 438500000, "interface_rate": 9600, "channel_rate": 100,
                   "parity": "odd"})", "字段 channel_rate（信道速率）的值 100 无效"},
    {{"read", "--tx", "433125000"}, nullptr, "选项 --tx 不能用于 read"},
    {{"read", "--settings", "9600,M,8,1"}, nullptr, "--settings 的值 9600,M,8,1 无效"},
    {{"read", "--settings", "115200,N,8,1"}, nullptr, "--settings 的值 115200,N,8,1 无效"},
    {{"read", "--port", "COM17"}, nullptr, "--port 的值 COM17 无效"},
    {{"read", "--timeout", "0"}, nullptr, "--timeout 的值 0 无效"},
    {{"read", "--timeout"}, nullptr, "选项 --timeout 缺少值"},
    {{"read", "--bogus"}, nullptr, "未知选项 --bogus"},
    {{"erase"}, nullptr, "未知命令 erase"},
    {{}, nullptr, "缺少命令"},
};

} // namespace

TEST(WriteInput, IsCheckedAsTheWindowChecksItBeforeAnythingIsSent)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ParsedArguments parsed = parseArguments(QStringList{"radioctl"} + c.args);
        QString outcome = parsed.error;
        if (parsed.invocation) {
            std::optional<ProfileFile> file;
            if (c.profile)
                file = ProfileFile{QStringLiteral("p.json"), QByteArray(c.profile)};
            const CheckedParameters checked = parametersToWrite(file, parsed.invocation->values, parsed.invocation->peer);
            const protocol::Bytes frame = checked.parameters ? parameterFrame(*checked.parameters) : protocol::Bytes{};
            outcome = checked.parameters ? QByteArray(reinterpret_cast<const char *>(frame.data()), qsizetype(frame.size())).toHex(' ').toUpper()
                                         : checked.error;
        }
        EXPECT_TRUE(outcome.contains(QString::fromUtf8(c.expect))) << outcome.toStdString();
    }
}
