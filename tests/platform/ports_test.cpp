#include "platform/ports.h"

#include <gtest/gtest.h>

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
