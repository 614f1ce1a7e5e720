// What radioctl keeps between runs, as runs started together by a script
// share it.
#include "../support/scopedenv.h"
#include "cli/state.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

class StateTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    const ScopedEnv state{"XDG_STATE_HOME", dir.path().toUtf8()};
};

// Each run rewrites the whole file, so without the lock one would drop
// what another had just added.
TEST_F(StateTest, RunsOnOtherPortsRememberingAtOnceLoseNothing)
{
    constexpr int kPorts = 100;
    const auto remember = [](const char *prefix) {
        for (int n = 0; n < kPorts; ++n)
            rememberSettings(QStringLiteral("%1%2").arg(prefix).arg(n), QStringLiteral("4800,N,8,1"));
    };
    std::thread other(remember, "COM");
    remember("/dev/ttyUSB");
    other.join();
    QStringList forgotten;
    for (const char *prefix : {"COM", "/dev/ttyUSB"}) {
        for (int n = 0; n < kPorts; ++n) {
            const QString port = QStringLiteral("%1%2").arg(prefix).arg(n);
            if (rememberedSettings(port) != QStringLiteral("4800,N,8,1"))
                forgotten << port;
        }
    }
    EXPECT_EQ(forgotten, QStringList());
}

TEST_F(StateTest, BackupsSavedInOneMillisecondUnderOneNameAreKeptApart)
{
    const QDateTime at = QDateTime::currentDateTime();
    const QStringList saved{saveBackup(QStringLiteral("COM1"), QStringLiteral("{\"n\": 1}"), at),
                            saveBackup(QStringLiteral("COM1"), QStringLiteral("{\"n\": 2}"), at)};
    for (int n = 1; n <= 2; ++n) {
        QFile backup(saved[n - 1]);
        ASSERT_TRUE(backup.open(QIODevice::ReadOnly)) << saved[n - 1].toStdString();
        EXPECT_EQ(backup.readAll(), QStringLiteral("{\"n\": %1}\n").arg(n).toUtf8());
    }
}
