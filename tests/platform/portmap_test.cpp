#include "envguard.h"
#include "portmap.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A configuration folder with a ports/ folder under it, in use for one test.
class PortsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        ports = m_config.path() + QStringLiteral("/radio-setup/ports");
        ASSERT_TRUE(QDir().mkpath(ports));
        ASSERT_TRUE(m_devices.isValid());
    }

    // Stands in for a device node: a file the link may point at.
    QString device(const QString &name)
    {
        const QString path = m_devices.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }

    void link(const QString &name, const QString &target)
    {
        ASSERT_TRUE(QFile::link(target, ports + QLatin1Char('/') + name));
    }

    QString ports;

private:
    EnvGuard m_env {"XDG_CONFIG_HOME"};
    QTemporaryDir m_config;
    QTemporaryDir m_devices;
};

const QStringList kSystem = {QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0"),
                             QStringLiteral("/dev/ttyS1")};

} // namespace

TEST(PortOrder, AdaptersBeforeOnBoardPorts)
{
    const QStringList names = {"ttyS0", "ttyUSB0", "ttyS1", "ttyACM0", "ttyAMA0"};
    const QStringList expected = {"ttyACM0", "ttyUSB0", "ttyAMA0", "ttyS0", "ttyS1"};
    EXPECT_EQ(orderSerialPorts(names), expected);
}

TEST(PortOrder, NumbersInNaturalOrder)
{
    const QStringList names = {"ttyUSB10", "ttyS10", "ttyUSB2", "ttyS2", "ttyUSB1", "ttyS1", "ttyUSB0"};
    const QStringList expected = {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyS1", "ttyS2", "ttyS10"};
    EXPECT_EQ(orderSerialPorts(names), expected);
}

TEST(PortOrder, PathsOrderedByDeviceName)
{
    const QStringList paths = {"/dev/ttyS3", "/dev/ttyUSB11", "/dev/ttyUSB9", "/dev/ttyS0"};
    const QStringList expected = {"/dev/ttyUSB9", "/dev/ttyUSB11", "/dev/ttyS0", "/dev/ttyS3"};
    EXPECT_EQ(orderSerialPorts(paths), expected);
}

TEST(PortOrder, EmptyAndOddNames)
{
    EXPECT_TRUE(orderSerialPorts({}).isEmpty());
    const QStringList names = {"ttyS", "", "ttyS007", "ttyS7", "rfcomm0"};
    const QStringList ordered = orderSerialPorts(names);
    EXPECT_EQ(ordered.size(), names.size());
    EXPECT_EQ(ordered.first(), QString());
}

TEST(PortMap, SystemPortsInOrderWithoutLinks)
{
    EnvGuard env("XDG_CONFIG_HOME");
    QTemporaryDir empty;
    qputenv("XDG_CONFIG_HOME", empty.path().toUtf8());
    EXPECT_EQ(resolveComPort(1, kSystem), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(resolveComPort(2, kSystem), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(resolveComPort(3, kSystem), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(resolveComPort(4, kSystem), std::nullopt);
    EXPECT_EQ(resolveComPort(1, {}), std::nullopt);
}

TEST(PortMap, OnlyCom1ToCom16)
{
    QStringList many;
    for (int i = 0; i < 20; ++i)
        many << QStringLiteral("/dev/ttyS%1").arg(i);
    EXPECT_EQ(resolveComPort(0, many), std::nullopt);
    EXPECT_EQ(resolveComPort(-1, many), std::nullopt);
    EXPECT_EQ(resolveComPort(17, many), std::nullopt);
    EXPECT_EQ(resolveComPort(16, many), QStringLiteral("/dev/ttyS15"));
}

TEST(PortMap, FolderFollowsXdgConfigHome)
{
    EnvGuard env("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/somewhere/config/radio-setup/ports"));
}

TEST(PortMap, FolderIgnoresRelativeXdgConfigHome)
{
    EnvGuard env("XDG_CONFIG_HOME");
    EnvGuard home("HOME");
    qputenv("XDG_CONFIG_HOME", "config");
    qputenv("HOME", "/home/technician");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/home/technician/.config/radio-setup/ports"));
    qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/somewhere/config/radio-setup/ports"));
}

TEST(PortMap, FolderDefaultsToDotConfig)
{
    EnvGuard env("XDG_CONFIG_HOME");
    EnvGuard home("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    qputenv("HOME", "/home/technician");
    EXPECT_EQ(comPortsFolder(), QStringLiteral("/home/technician/.config/radio-setup/ports"));
}

TEST_F(PortsFolder, LinkWinsOverSystemPort)
{
    const QString target = device(QStringLiteral("ttyXR3"));
    link(QStringLiteral("com2"), target);
    EXPECT_EQ(resolveComPort(2, kSystem), target);
    // The other numbers still go to the system's list.
    EXPECT_EQ(resolveComPort(1, kSystem), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(resolveComPort(3, kSystem), QStringLiteral("/dev/ttyS1"));
}

TEST_F(PortsFolder, LinkGivesCanonicalDevicePath)
{
    // A chain of links still ends at the device itself, whose name the
    // lock file carries.
    const QString target = device(QStringLiteral("ttyUSB7"));
    link(QStringLiteral("adapter"), target);
    link(QStringLiteral("com5"), ports + QStringLiteral("/adapter"));
    EXPECT_EQ(resolveComPort(5, kSystem), target);
}

TEST_F(PortsFolder, DanglingLinkStillWins)
{
    link(QStringLiteral("com1"), QStringLiteral("/nonexistent/ttyUSB9"));
    EXPECT_EQ(resolveComPort(1, kSystem), ports + QStringLiteral("/com1"));
}

TEST_F(PortsFolder, LinkNamesAreLowerCase)
{
    const QString target = device(QStringLiteral("ttyXR0"));
    link(QStringLiteral("COM1"), target);
    link(QStringLiteral("com16"), target);
    EXPECT_EQ(resolveComPort(1, kSystem), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(resolveComPort(16, kSystem), target);
    EXPECT_EQ(resolveComPort(15, kSystem), std::nullopt);
}
