// The serial link's rules that need no device: settings, parity marks, failures.
#include "platform/paritymarks.h"
#include "platform/portsettings.h"
#include "platform/qtseriallink_p.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(PortSettings, ReadsOnlyWellFormedStrings)
{
    const auto parsed = parsePortSettings(QStringLiteral("57600,e,7,2"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->speed, 57600);
    EXPECT_EQ(parsed->parity, PortSettings::Parity::Even);
    EXPECT_EQ(parsed->dataBits, 7);
    EXPECT_EQ(parsed->stopBits, 2);
    EXPECT_EQ(parsePortSettings(QStringLiteral("1200,O,8,1"))->parity, PortSettings::Parity::Odd);
    for (const char *bad : {"", "4800,N,8", "4800,N,8,1,", " 4800,N,8,1", "+4800,N,8,1", "0,N,8,1",
                            "99999999999,N,8,1", "4800,X,8,1", "4800,NN,8,1", "4800,N,9,1", "4800,N,8,3",
                            "4800,N,08,1", "４８００,N,8,1"})
        EXPECT_FALSE(parsePortSettings(QString::fromUtf8(bad))) << bad;
}

// Each line is also fed cut in two at every position and byte by byte: a
// mark or a doubled FF split across reads must come out the same.
TEST(ParityMarks, UnescapesMarksAndDoubledFFHoweverTheReadsFall)
{
    const auto hex = [](const char *h) { return QByteArray::fromHex(h); };
    const struct {
        QByteArray line, expected;
    } cases[] = {
        {hex("f0ffff0d"), hex("f0ff0d")},
        {hex("ffffffff"), hex("ffff")},
        {hex("f0ff00ee0d"), hex("f03f0d")},
        {hex("ff00ffff0000"), hex("3f3f")}, // a damaged FF or 00 is one "?" too
        {hex("ffff0041"), hex("ff0041")},   // line FF 00 41: the NUL is data
        {hex("ff4142"), hex("ff4142")},     // stray FF x: no byte may vanish
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toHex().toStdString());
        for (qsizetype cut = 0; cut <= c.line.size(); ++cut) {
            QByteArray carry;
            QByteArray out = unescapeParityMarks(c.line.left(cut), carry);
            out += unescapeParityMarks(c.line.mid(cut), carry);
            EXPECT_EQ(out, c.expected) << "cut at " << cut;
            EXPECT_TRUE(carry.isEmpty()) << "cut at " << cut;
        }
        QByteArray carry;
        QByteArray out;
        for (char b : c.line)
            out += unescapeParityMarks(QByteArray(1, b), carry);
        EXPECT_EQ(out, c.expected);
    }
}

// What the status bar says after each system error, of /dev/ttyUSB0 on COM1.
TEST(OpenFailure, SystemErrorsBecomeCausesATechnicianCanActOn)
{
    const auto said = [](int error) {
        return describeOpenFailure(QStringLiteral("COM1"), {causeOfOpenError(error), QStringLiteral("/dev/ttyUSB0"),
                                                            {}, QStringLiteral("Input/output error")});
    };
    for (int error : {ENOENT, ENXIO, ENODEV})
        EXPECT_EQ(said(error), QStringLiteral("COM1：/dev/ttyUSB0 不存在（设备未连接或已拔出）")) << error;
    for (int error : {EACCES, EPERM, EROFS})
        EXPECT_EQ(said(error), QStringLiteral("COM1：无权打开 /dev/ttyUSB0。请把用户加入 dialout 组（sudo adduser $USER dialout），然后重新登录")) << error;
    for (int error : {EBUSY, EAGAIN})
        EXPECT_EQ(said(error), QStringLiteral("COM1：/dev/ttyUSB0 正被其他程序占用")) << error;
    EXPECT_EQ(said(EIO), QStringLiteral("COM1：无法打开 /dev/ttyUSB0：Input/output error"));
}
