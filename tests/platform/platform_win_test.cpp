// The Windows rules of the platform layer, compiled for Windows only.
#include "platform/portname.h"

#include <gtest/gtest.h>

TEST(PortName, ComNumbersAndTheDeviceNamespaceFormNameTheSystemsPorts)
{
    const struct {
        const char *text, *name; // name nullptr: no port
        int comNumber;
        const char *device;
    } cases[] = {
        {"COM3", "COM3", 3, ""},
        {"\\\\.\\com3", "COM3", 3, ""},
        {"com17", "COM17", 0, "\\\\.\\COM17"},
        {"\\\\.\\COM256", "COM256", 0, "\\\\.\\COM256"},
        {"COM0", nullptr, 0, ""},
        {"ttyUSB0", nullptr, 0, ""},
        {"/dev/ttyUSB0", nullptr, 0, ""},
        {"", nullptr, 0, ""},
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
