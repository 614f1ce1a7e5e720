#include "envguard.h"
#include "portmap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList kSystem = {"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyS1"};

// A configuration folder with a ports/ folder under it, in use for one test.
class PortsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(config.isValid() && devices.isValid());
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        ASSERT_TRUE(QDir().mkpath(ports));
    }

    // Stands in for a device node: a file the link may point at.
    QString device(const QString &name)
    {
        QFile f(devices.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return f.fileName();
    }

    void link(const QString &name, const QString &target)
    {
        ASSERT_TRUE(QFile::link(target, ports + QLatin1Char('/') + name));
    }

    EnvGuard env {"XDG_CONFIG_HOME"};
    QTemporaryDir config;
    QTemporaryDir devices;
    const QString ports = config.path() + QStringLiteral("/radio-setup/ports");
};

} // namespace

TEST(PortOrder, AdaptersFirstThenOnBoardPortsEachInNaturalOrder)
{
    const struct {
        QStringList given, expected;
    } cases[] = {
        {{"ttyS0", "ttyUSB0", "ttyS1", "ttyACM0", "ttyAMA0"},
         {"ttyACM0", "ttyUSB0", "ttyAMA0", "ttyS0", "ttyS1"}},
        {{"ttyUSB10", "ttyS10", "ttyUSB2", "ttyS2", "ttyUSB1", "ttyS1", "ttyUSB0"},
         {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyS1", "ttyS2", "ttyS10"}},
        {{"/dev/ttyS3", "/dev/ttyUSB11", "/dev/ttyUSB9", "/dev/ttyS0"},
         {"/dev/ttyUSB9", "/dev/ttyUSB11", "/dev/ttyS0", "/dev/ttyS3"}},
        {{}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(orderSerialPorts(c.given), c.expected) << c.given.join(' ').toStdString();

    const QStringList odd = orderSerialPorts({"ttyS", "", "ttyS007", "ttyS7", "rfcomm0"});
    EXPECT_EQ(odd.size(), 5);
    EXPECT_EQ(odd.first(), QString());
}

TEST(PortMap, FolderFollowsAnAbsoluteXdgConfigHomeElseDotConfig)
{
    EnvGuard env("XDG_CONFIG_HOME");
    EnvGuard home("HOME");
    qputenv("HOME", "/home/technician");
    const QString dotConfig = QStringLiteral("/home/technician/.config/radio-setup/ports");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/somewhere/config/radio-setup/ports"));
    qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/somewhere/config/radio-setup/ports"));
    qputenv("XDG_CONFIG_HOME", "config");
    EXPECT_EQ(comPortsFolder(), dotConfig);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(comPortsFolder(), dotConfig);
}

TEST_F(PortsFolder, WithoutLinksCom1ToCom16AreTheSystemPortsInOrder)
{
    EXPECT_EQ(resolveComPort(1, kSystem), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(resolveComPort(2, kSystem), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(resolveComPort(3, kSystem), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(resolveComPort(4, kSystem), std::nullopt);
    EXPECT_EQ(resolveComPort(1, {}), std::nullopt);

    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("/dev/ttyS%1").arg(i);
    for (int n : {-1, 0, 17})
        EXPECT_EQ(resolveComPort(n, many), std::nullopt) << n;
    EXPECT_EQ(resolveComPort(16, many), QStringLiteral("/dev/ttyS15"));
}

TEST_F(PortsFolder, LowerCaseLinkWinsEvenDanglingAndLeadsToTheDeviceItself)
{
    const QString xr = device(QStringLiteral("ttyXR3"));
    const QString usb = device(QStringLiteral("ttyUSB7"));
    link(QStringLiteral("com2"), xr);
    link(QStringLiteral("COM3"), xr);
    // A chain of links ends at the device, whose name the lock file carries.
    link(QStringLiteral("adapter"), usb);
    link(QStringLiteral("com16"), ports + QStringLiteral("/adapter"));
    EXPECT_EQ(resolveComPort(2, kSystem), xr);
    EXPECT_EQ(resolveComPort(16, kSystem), usb);
    EXPECT_EQ(resolveComPort(1, kSystem), QStringLiteral("/dev/ttyUSB0")); // other numbers: system
    EXPECT_EQ(resolveComPort(3, kSystem), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(resolveComPort(15, kSystem), std::nullopt);

    // A dangling link still wins (and then fails to open).
    link(QStringLiteral("com1"), QStringLiteral("/nonexistent/ttyUSB9"));
    EXPECT_EQ(resolveComPort(1, kSystem), ports + QStringLiteral("/com1"));
}
