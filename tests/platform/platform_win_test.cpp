// The Windows rules of the platform layer, compiled for Windows only.
#include "platform/openfailure.h"
#include "platform/portname.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(OpenFailure, WindowsErrorsBecomeCausesInWindowsTerms)
{
    const struct {
        DWORD error;
        OpenFailureCause cause;
        const char *said; // of \\.\COM3 on COM3
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, OpenFailureCause::NoDevice, "COM3：\\\\.\\COM3 不存在（设备未连接或已拔出）"},
        {ERROR_PATH_NOT_FOUND, OpenFailureCause::NoDevice, nullptr},
        {ERROR_DEV_NOT_EXIST, OpenFailureCause::NoDevice, nullptr},
        {ERROR_ACCESS_DENIED, OpenFailureCause::Busy, "COM3：\\\\.\\COM3 正被其他程序占用"},
        {ERROR_SHARING_VIOLATION, OpenFailureCause::Busy, nullptr},
        {ERROR_GEN_FAILURE, OpenFailureCause::Other, "COM3：无法打开 \\\\.\\COM3：连到系统上的设备没有发挥作用。"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(causeOfOpenError(int(c.error)), c.cause);
        if (c.said) {
            EXPECT_EQ(describeOpenFailure(QStringLiteral("COM3"),
                                          {c.cause, QStringLiteral("\\\\.\\COM3"), {},
                                           QStringLiteral("连到系统上的设备没有发挥作用。")}),
                      QString::fromUtf8(c.said));
        }
    }
    // No group to join here: the permission text ends with the device.
    EXPECT_EQ(describeOpenFailure(QStringLiteral("COM3"), {OpenFailureCause::PermissionDenied,
                                                           QStringLiteral("\\\\.\\COM3"), {}, {}}),
              QStringLiteral("COM3：无权打开 \\\\.\\COM3"));

    // Asked again, the system answers in its own words, without a line end.
    const OpenFailure missing = diagnoseOpenFailure(QStringLiteral("\\\\.\\radio-setup-none"),
                                                    QSerialPort::DeviceNotFoundError, {});
    EXPECT_EQ(missing.cause, OpenFailureCause::NoDevice);
    EXPECT_FALSE(missing.systemText.isEmpty() || missing.systemText.endsWith(QLatin1Char('\n')));
}

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
