#include "platform/openfailure_unix.h"
#include "platform/qtseriallink.h"
#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QFile>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>

namespace {

class LinkOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isValid());
        QObject::connect(&link, &SerialLink::onComm, &link, [this] {
            ASSERT_EQ(link.commEvent(), SerialLink::comEvReceive);
            ++comms;
            if (taking)
                received += link.input();
        });
    }

    void open()
    {
        ASSERT_EQ(link.setSettings(QStringLiteral("4800,N,8,1")), CommError::None);
        ASSERT_EQ(link.setPortOpen(true), CommError::None);
    }

    PseudoTerminal pty;
    QtSerialLink link{pty.path()};
    QByteArray received;
    bool taking = true; // else received bytes wait in the link
    int comms = 0;
};

} // namespace

// Opened, tuned in place to an odd and an even setting, then closed and
// reopened: at each setting the line is raw and marks damaged bytes, every
// byte value gets through both ways, DTR and RTS are up, and bytes received
// before and not yet taken are not handed on.
TEST_F(LinkOnPty, CarriesEveryByteValueBothWaysAtEachSettingAndDropsWhatCameBefore)
{
    link.setDTREnable(true);
    link.setRTSEnable(true);
    int opens = 0;
    QObject::connect(&link, &SerialLink::opened, &link, [&] { ++opens; });
    QByteArray every;
    for (int v = 0; v < 256; ++v)
        every.append(char(v));
    const struct {
        const char *settings;
        bool reopen;
        speed_t speed;
        tcflag_t parity;
    } steps[] = {
        {"4800,N,8,1", true, B4800, 0},
        {"9600,O,8,1", false, B9600, PARENB | PARODD},
        {"19200,E,8,1", false, B19200, PARENB},
        {"4800,N,8,1", true, B4800, 0},
    };
    pty.send(QByteArray::fromHex("f0aa")); // waits in the driver from before the open
    ASSERT_TRUE(QTest::qWaitFor([&] { return pty.pending() == 2; }));
    for (const auto &step : steps) {
        SCOPED_TRACE(step.settings);
        const QString settings = QString::fromLatin1(step.settings);
        if (step.reopen) {
            ASSERT_EQ(link.setPortOpen(false), CommError::None);
            ASSERT_EQ(link.setSettings(settings), CommError::None);
            ASSERT_EQ(link.setPortOpen(true), CommError::None);
        } else {
            ASSERT_EQ(link.retune(settings), CommError::None);
        }
        const termios line = pty.line();
        EXPECT_EQ(cfgetospeed(&line), step.speed);
        EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | PARODD), CS8 | step.parity);
        EXPECT_EQ(line.c_iflag & (PARMRK | INPCK), tcflag_t(PARMRK | INPCK));
        EXPECT_EQ(line.c_iflag & (IGNPAR | ISTRIP | IXON | IXOFF), tcflag_t(0));
        EXPECT_EQ(pty.modemLines() & (TIOCM_DTR | TIOCM_RTS), TIOCM_DTR | TIOCM_RTS);

        ASSERT_EQ(link.output(every + every), CommError::None);
        EXPECT_EQ(pty.receive(512), every + every);
        // The line doubles each FF; a read that ends among them must come out whole.
        taking = true;
        pty.send(every.left(255));
        ASSERT_TRUE(QTest::qWaitFor([&] { return received.size() >= 255; }));
        pty.send(every.mid(255) + every);
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= 512; }));
        EXPECT_EQ(received, every + every);

        received.clear();
        taking = false;
        const int events = comms;
        pty.send(QByteArray::fromHex("f0bb"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return comms > events; }));
    }
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(link.retune(QStringLiteral("9600,X,8,1")), CommError::BadSettings);
    EXPECT_TRUE(link.portOpen());
}

TEST_F(LinkOnPty, FarEndHangUpIsOneQuietLoss)
{
    int lost = 0;
    QObject::connect(&link, &QtSerialLink::linkLost, &link, [&] { ++lost; });
    open();
    pty.send(QByteArray::fromHex("f0"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 2000));

    // A plain event loop, as the window runs it: a flood of errors would
    // spin it for the whole second.
    const std::clock_t cpuBefore = std::clock();
    pty.hangUp();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_LT(double(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.1) << "the loop spun";
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_EQ(received, QByteArray::fromHex("f0"));
}

TEST(LinkOpen, FailsClosedAndSaysWhy)
{
    PseudoTerminal pty;
    QtSerialLink holder(pty.path());
    ASSERT_EQ(holder.setPortOpen(true), CommError::None);
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const struct {
        std::optional<QString> device;
        QString said;
    } cases[] = {
        {std::nullopt, QStringLiteral("COM1：没有对应的串口设备")},
        {QStringLiteral("/nonexistent/ttyUSB9"), QStringLiteral("COM1：/nonexistent/ttyUSB9 不存在（设备未连接或已拔出）")},
        {pty.path(), QStringLiteral("COM1：%1 正被其他程序占用（platform_tests，进程 %2）").arg(pty.path(), pid)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.said.toStdString());
        QtSerialLink link(c.device);
        EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
        EXPECT_FALSE(link.portOpen());
        EXPECT_EQ(describeOpenFailure(QStringLiteral("COM1"), link.lastOpenFailure()), c.said);
    }

    // A lock left behind by a program that has ended names no holder.
    QTemporaryDir locks;
    QFile lock(locks.filePath(QStringLiteral("LCK..ttyUSB9")));
    for (const QString &owner : {QStringLiteral("999999999"), pid}) {
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write((owner + QStringLiteral("\nminicom\nhost\n")).toLatin1());
        lock.close();
        EXPECT_EQ(lockHolder(QStringLiteral("/dev/ttyUSB9"), {locks.path()}),
                  owner == pid ? QStringLiteral("minicom，进程 ") + pid : QString());
    }
}
