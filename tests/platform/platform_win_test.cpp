// The Windows rules of the platform layer, compiled for Windows only.
#include "platform/qtseriallink_p.h"
#include "platform/ports.h"

#include <gtest/gtest.h>

#include <windows.h>

// What the status bar says after each system error, of \\.\COM3 on COM3.
TEST(OpenFailure, WindowsErrorsBecomeCausesInWindowsTerms)
{
    const QString port = QStringLiteral("\\\\.\\COM3");
    const auto said = [&](DWORD error) {
        return describeOpenFailure(QStringLiteral("COM3"), {causeOfOpenError(int(error)), port, {}, QStringLiteral("设备没有发挥作用。")});
    };
    for (DWORD error : {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_DEV_NOT_EXIST})
        EXPECT_EQ(said(error), QStringLiteral("COM3：\\\\.\\COM3 不存在（设备未连接或已拔出）")) << error;
    // Windows says "access denied" of a port another program holds.
    for (DWORD error : {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION})
        EXPECT_EQ(said(error), QStringLiteral("COM3：\\\\.\\COM3 正被其他程序占用")) << error;
    EXPECT_EQ(said(ERROR_GEN_FAILURE), QStringLiteral("COM3：无法打开 \\\\.\\COM3：设备没有发挥作用。"));
    // Asked again, the system answers in its own words, without a line end.
    const OpenFailure missing = diagnoseOpenFailure(QStringLiteral("\\\\.\\radio-setup-none"), {});
    EXPECT_EQ(missing.cause, OpenFailureCause::NoDevice);
    EXPECT_FALSE(missing.systemText.isEmpty() || missing.systemText.endsWith(QLatin1Char('\n')));
}

// As "name n device", or "none".
TEST(PortName, ComNumbersAndTheDeviceNamespaceFormNameTheSystemsPortsWhichTheStatusBarNamesAsTheSystemDoes)
{
    const auto named = [](const char *text) {
        const std::optional<NamedPort> p = parsePortName(QString::fromLatin1(text));
        return p ? QStringLiteral("%1 %2 %3").arg(p->name).arg(p->comNumber).arg(p->device) : QStringLiteral("none");
    };
    EXPECT_EQ(named("COM3"), "COM3 3 ");
    EXPECT_EQ(named("\\\\.\\com3"), "COM3 3 ");
    EXPECT_EQ(named("com17"), "COM17 0 \\\\.\\COM17");
    EXPECT_EQ(named("\\\\.\\COM256"), "COM256 0 \\\\.\\COM256");
    for (const char *none : {"COM0", "ttyUSB0", "/dev/ttyUSB0", ""})
        EXPECT_EQ(named(none), "none") << none;
    // The status bar names the device as the system does, not as \\.\COMn again.
    SerialDevice com1{QStringLiteral("\\\\.\\COM1"), QStringLiteral("USB-SERIAL CH340"), {}, 0x1a86, 0x7523, {}, {}};
    EXPECT_EQ(describeOpenPort(QStringLiteral("COM1"), com1, QStringLiteral("19200,E,8,1")),
              QStringLiteral("COM1：USB-SERIAL CH340 19200,E,8,1"));
    com1.description.clear();
    EXPECT_EQ(describeOpenPort(QStringLiteral("COM1"), com1, QStringLiteral("19200,E,8,1")),
              QStringLiteral("COM1：19200,E,8,1"));
}
