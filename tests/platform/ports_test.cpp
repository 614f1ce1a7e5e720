#include "platform/ports_p.h"
#include "scopedenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>

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
    std::atomic<int> asked{0};
    int known = 0;
    std::promise<void> gate;
    {
        PortMap map([&, open = gate.get_future().share()] { return ++asked == 1 ? open.wait() : void(), described; });
        QObject::connect(&map, &PortMap::devicesKnown, [&] { ++known; });
        EXPECT_EQ(map.details(device.fileName()).description, QString());
        map.refreshInBackground();
        ASSERT_TRUE(QTest::qWaitFor([&] { return asked == 1; }, 10000)); // once the window would be up
        gate.set_value();
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
    EXPECT_TRUE(isOnBoardPort(5, {"/dev/ttyS0", {}, {}, {}, {}, {}, {}}) && !isOnBoardPort(5, {"/dev/ttyACM0", {}, {}, {}, {}, {}, {}}));
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

TEST(PortTexts, NameTheDeviceWithWhatTheSystemKnowsOfIt)
{
    const SerialDevice usb{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", 0x0403, 0x6001, "A50285BI",
                           {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}};
    const struct {
        std::optional<SerialDevice> device;
        const char *tooltip;
    } cases[] = {
        {usb, "COM3：/dev/ttyUSB0\n描述：FT232R USB UART\n制造商：FTDI\nUSB 标识：0403:6001\n序列号：A50285BI\n"
              "固定名称：/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
        {SerialDevice{QStringLiteral("/dev/pts/4"), {}, {}, {}, {}, {}, {}}, "COM3：/dev/pts/4"},
        {std::nullopt, "COM3：没有对应的串口设备"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(portTooltip(QStringLiteral("COM3"), c.device), QString::fromUtf8(c.tooltip));
    EXPECT_EQ(describeOpenPort(QStringLiteral("COM1"), usb, QStringLiteral("4800,N,8,1")),
              QStringLiteral("COM1：/dev/ttyUSB0（FT232R USB UART）4800,N,8,1"));
}
