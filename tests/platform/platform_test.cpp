#include "platform/linesettings.h"
#include "platform/openfailure.h"
#include "platform/paritymarks.h"
#include "platform/portmap.h"
#include "platform/portmap_unix.h"
#include "platform/portname.h"
#include "scopedenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

TEST(LineSettings, ReadsOnlyWellFormedStrings)
{
    const auto parsed = parseLineSettings(QStringLiteral("57600,e,7,2"));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->speed, 57600);
    EXPECT_EQ(parsed->parity, LineSettings::Parity::Even);
    EXPECT_EQ(parsed->dataBits, 7);
    EXPECT_EQ(parsed->stopBits, 2);
    EXPECT_EQ(parseLineSettings(QStringLiteral("1200,O,8,1"))->parity, LineSettings::Parity::Odd);
    for (const char *bad : {"", "4800,N,8", "4800,N,8,1,", " 4800,N,8,1", "+4800,N,8,1", "0,N,8,1",
                            "99999999999,N,8,1", "4800,X,8,1", "4800,NN,8,1", "4800,N,9,1", "4800,N,8,3",
                            "4800,N,08,1", "４８００,N,8,1"})
        EXPECT_FALSE(parseLineSettings(QString::fromUtf8(bad))) << bad;
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

TEST(PortOrder, AdaptersFirstThenOnBoardPortsEachInNaturalOrder)
{
    EXPECT_EQ(orderSerialPorts({"/dev/ttyS10", "/dev/ttyUSB10", "/dev/ttyS2", "/dev/ttyAMA0",
                                "/dev/ttyUSB2", "/dev/ttyACM0"}),
              (QStringList{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
                           "/dev/ttyS2", "/dev/ttyS10"}));
}

TEST(PortMap, LowerCaseLinkWinsEvenDanglingElseTheNthSystemDevice)
{
    QTemporaryDir config;
    const ScopedEnv env("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString ports = config.path() + QStringLiteral("/radio-setup/ports");
    ASSERT_EQ(comPortsFolder(), ports);
    ASSERT_TRUE(QDir().mkpath(ports));
    QFile device(config.filePath(QStringLiteral("ttyXR3")));
    ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    // A chain of links ends at the device, whose name the lock file carries.
    ASSERT_TRUE(QFile::link(device.fileName(), ports + QStringLiteral("/adapter")));
    ASSERT_TRUE(QFile::link(ports + QStringLiteral("/adapter"), ports + QStringLiteral("/com2")));
    ASSERT_TRUE(QFile::link(device.fileName(), ports + QStringLiteral("/COM3")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/nonexistent/ttyUSB9"), ports + QStringLiteral("/com16")));

    const QStringList system{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1"};
    EXPECT_EQ(resolveComPort(1, system), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(resolveComPort(2, system), device.fileName());
    EXPECT_EQ(resolveComPort(3, system), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(resolveComPort(4, system), std::nullopt);
    EXPECT_EQ(resolveComPort(16, system), ports + QStringLiteral("/com16"));
    EXPECT_EQ(resolveComPort(17, system), std::nullopt);

    // A refresh takes the answer still to come from the background.
    int asked = 0;
    PortMap map([&] {
        ++asked;
        return QList<SerialDevice>{{system.at(1), QStringLiteral("FT232R USB UART"), {}, {}, {}, {}, {}}};
    });
    map.refreshInBackground();
    map.refresh();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(map.device(1)->description, QStringLiteral("FT232R USB UART"));
    map.refresh();
    EXPECT_EQ(asked, 2);
}

TEST(OpenFailure, SystemErrorsBecomeCausesATechnicianCanActOn)
{
    const struct {
        int error;
        OpenFailureCause cause;
        const char *said; // of /dev/ttyUSB0 on COM1
    } cases[] = {
        {ENOENT, OpenFailureCause::NoDevice, "COM1：/dev/ttyUSB0 不存在（设备未连接或已拔出）"},
        {ENXIO, OpenFailureCause::NoDevice, nullptr},
        {ENODEV, OpenFailureCause::NoDevice, nullptr},
        {EACCES, OpenFailureCause::PermissionDenied,
         "COM1：无权打开 /dev/ttyUSB0。请把用户加入 dialout 组（sudo adduser $USER dialout），然后重新登录"},
        {EPERM, OpenFailureCause::PermissionDenied, nullptr},
        {EBUSY, OpenFailureCause::Busy, "COM1：/dev/ttyUSB0 正被其他程序占用"},
        {EAGAIN, OpenFailureCause::Busy, nullptr},
        {EIO, OpenFailureCause::Other, "COM1：无法打开 /dev/ttyUSB0：Input/output error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(causeOfOpenError(c.error), c.cause);
        if (c.said) {
            EXPECT_EQ(describeOpenFailure(QStringLiteral("COM1"),
                                          {c.cause, QStringLiteral("/dev/ttyUSB0"), {}, QStringLiteral("Input/output error")}),
                      QString::fromUtf8(c.said));
        }
    }
    EXPECT_EQ(describeOpenFailure(QStringLiteral("COM7"), {OpenFailureCause::NoDevice, {}, {}, {}}),
              QStringLiteral("COM7：没有对应的串口设备"));
    EXPECT_EQ(describeOpenFailure(QStringLiteral("COM2"), {OpenFailureCause::Busy, QStringLiteral("/dev/ttyS0"),
                                                           QStringLiteral("minicom，进程 42"), {}}),
              QStringLiteral("COM2：/dev/ttyS0 正被其他程序占用（minicom，进程 42）"));
}

TEST(PortName, ComNumbersAreThePortMapsBareNamesAreUnderDevPathsStandForThemselves)
{
    const struct {
        const char *text, *name; // name nullptr: no port
        int comNumber;
        const char *device;
    } cases[] = {
        {"COM3", "COM3", 3, ""},
        {"com16", "COM16", 16, ""},
        {"COM03", "COM3", 3, ""},
        {"ttyUSB0", "/dev/ttyUSB0", 0, "/dev/ttyUSB0"},
        {"/dev/serial/by-id/usb-FTDI-if00", "/dev/serial/by-id/usb-FTDI-if00", 0, "/dev/serial/by-id/usb-FTDI-if00"},
        {"./pty", "./pty", 0, "./pty"},
        {"COM17", nullptr, 0, ""},
        {"COM0", nullptr, 0, ""},
        {"\\\\.\\COM3", nullptr, 0, ""},
        {"", nullptr, 0, ""},
        {"..", nullptr, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<NamedPort> port = parsePortName(QString::fromLatin1(c.text));
        ASSERT_EQ(port.has_value(), c.name != nullptr);
        if (port) {
            EXPECT_EQ(port->name, QLatin1String(c.name));
            EXPECT_EQ(port->comNumber, c.comNumber);
            EXPECT_EQ(port->device, QLatin1String(c.device));
        }
    }
}
