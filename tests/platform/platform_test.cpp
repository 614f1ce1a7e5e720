#include "platform/openfailure.h"
#include "platform/paritymarks.h"
#include "platform/ports_p.h"
#include "platform/portsettings.h"
#include "scopedenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
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

// The names the descriptive enumeration would list, from a tty class
// folder as the kernel lays it out, put in the port map's order.
TEST(PortOrder, SystemTtysByNameAloneAdaptersFirstThenOnBoardPortsEachInNaturalOrder)
{
    QTemporaryDir sys;
    const auto tty = [&](const char *name, const char *driver, const char *type) {
        const QString dir = sys.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QDir().mkpath(dir + (driver ? "/device" : "")));
        if (driver) {
            ASSERT_TRUE(QFile::link(sys.filePath(QString::fromLatin1(driver)), dir + "/device/driver"));
        }
        QFile typeFile(dir + "/type");
        ASSERT_TRUE(typeFile.open(QIODevice::WriteOnly) && typeFile.write(type) > 0);
    };
    tty("ttyS0", "serial8250", "0\n"); // no UART found
    tty("ttyS10", "serial8250", "4\n");
    tty("ttyS2", "port", "0\n");       // newer kernels: no UART type to go by
    tty("ttyUSB10", "ftdi_sio", "0\n");
    tty("ttyUSB2", "cp210x", "0\n");
    tty("ttyACM0", "cdc_acm", "0\n");
    tty("rfcomm0", nullptr, "0\n");
    tty("tty1", nullptr, "0\n");
    EXPECT_EQ(orderSerialPorts(serialTtys(sys.path())),
              (QStringList{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/rfcomm0", "/dev/ttyS2",
                           "/dev/ttyS10"}));
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
    // Resolving waits for no descriptions; a refresh takes the answer still
    // to come from the background.
    const QList<SerialDevice> described{{device.fileName(), QStringLiteral("FT232R"), {}, {}, {}, {}, {}}};
    int asked = 0;
    int known = 0;
    {
        PortMap map([&] { return ++asked, described; });
        QObject::connect(&map, &PortMap::devicesKnown, [&] { ++known; });
        EXPECT_EQ(map.details(device.fileName()).description, QString());
        EXPECT_EQ(map.resolve(2), device.fileName());
        map.refreshInBackground();
        map.refresh();
        EXPECT_EQ(map.device(2)->description, QStringLiteral("FT232R"));
        map.refresh();
    }
    EXPECT_EQ(asked, 2); // counted once the map has waited for its worker
    EXPECT_EQ(known, 2);
    // Links are adapters' stand-ins, never on-board ports; a system port is
    // on board unless it is a USB or ACM adapter.
    const QList<ComPort> listed = comPorts(described);
    const auto com2 = std::find_if(listed.begin(), listed.end(), [](const ComPort &p) { return p.number == 2; });
    ASSERT_NE(com2, listed.end());
    EXPECT_TRUE(com2->details.description == QStringLiteral("FT232R") && !com2->onBoard);
    EXPECT_TRUE(isOnBoardPort(5, {QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}, {}, {}}));
    EXPECT_FALSE(isOnBoardPort(5, {QStringLiteral("/dev/ttyACM0"), {}, {}, {}, {}, {}, {}}));
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

// As "name n device", or "none".
TEST(PortName, ComNumbersAreThePortMapsBareNamesAreUnderDevPathsStandForThemselves)
{
    const auto named = [](const char *text) {
        const std::optional<NamedPort> p = parsePortName(QString::fromLatin1(text));
        return p ? QStringLiteral("%1 %2 %3").arg(p->name).arg(p->comNumber).arg(p->device) : QStringLiteral("none");
    };
    EXPECT_EQ(named("COM3"), "COM3 3 ");
    EXPECT_EQ(named("com16"), "COM16 16 ");
    EXPECT_EQ(named("COM03"), "COM3 3 ");
    EXPECT_EQ(named("ttyUSB0"), "/dev/ttyUSB0 0 /dev/ttyUSB0");
    EXPECT_EQ(named("./pty"), "./pty 0 ./pty");
    for (const char *none : {"COM17", "COM0", "\\\\.\\COM3", "", ".."})
        EXPECT_EQ(named(none), "none") << none;
}
