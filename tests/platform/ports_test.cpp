#include "platform/porttexts.h"
#include "platform/qtseriallink.h"
#include "pseudoterminal.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

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

// Root opens any device, so the open is made as nobody; any other user
// cannot open a device with no permissions at all either.
TEST(LinkOpen, DeviceTheUserMayNotOpenIsReportedAsRefused)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid());
    if (::chmod(pty.path().toLocal8Bit().constData(), 0) != 0)
        GTEST_SKIP() << "cannot take the permissions off " << pty.path().toStdString();
    QtSerialLink link(pty.path());
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    const CommError result = link.setPortOpen(true);
    ASSERT_TRUE(!root || ::seteuid(0) == 0);
    EXPECT_EQ(result, CommError::OpenFailed);
    EXPECT_EQ(link.lastOpenFailure().cause, OpenFailureCause::PermissionDenied);
}
