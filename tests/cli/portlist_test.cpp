// Which ports `radioctl find` probes, against a given list of the system's
// devices and the links of a ports folder of the test's own.
#include "cli/portlist.h"

#include "../support/scopedenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

static void PrintTo(const PortToProbe &p, std::ostream *os)
{
    *os << p.name.toStdString() << '=' << p.device.toStdString();
}

TEST(PortsToProbe, AdaptersAndLinksEachOnceOnBoardPortsOnlyWhenAsked)
{
    QTemporaryDir dir;
    const ScopedEnv config("XDG_CONFIG_HOME", dir.path().toUtf8());
    const QString ports = dir.filePath(QStringLiteral("radio-setup/ports"));
    const QString tty = dir.filePath(QStringLiteral("linked-device"));
    ASSERT_TRUE(QDir().mkpath(ports) && QFile(tty).open(QIODevice::WriteOnly));
    // COM3 and COM4 both lead to one device; COM5's link leads nowhere.
    for (const char *link : {"com3", "com4"})
        ASSERT_TRUE(QFile::link(tty, ports + QLatin1Char('/') + QLatin1String(link)));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), ports + QStringLiteral("/com5")));
    QList<SerialDevice> devices(2);
    devices[0].path = QStringLiteral("/dev/ttyS0");
    devices[1].path = QStringLiteral("/dev/ttyUSB0");
    devices[1].vendorId = 0x1a86;

    const QList<PortToProbe> linkedAndAdapter{{"COM1", "/dev/ttyUSB0"}, {"COM3", tty}, {"COM5", ports + "/com5"}};
    EXPECT_EQ(portsToProbe(false, devices), linkedAndAdapter);
    EXPECT_EQ(portsToProbe(true, devices), (QList<PortToProbe>{{"COM1", "/dev/ttyUSB0"}, {"COM2", "/dev/ttyS0"},
                                                               {"COM3", tty}, {"COM5", ports + "/com5"}}));
}
