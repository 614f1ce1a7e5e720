#include "platform/qtseriallink.h"
#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QFile>
#include <QEventLoop>
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
};

} // namespace

TEST_F(LinkOnPty, CarriesEveryByteValueBothWaysOnARawLineThatMarksDamagedBytes)
{
    pty.send(QByteArray::fromHex("f0aa")); // from before the open: stale
    QTest::qWait(50);
    open();
    const termios line = pty.line();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B4800));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(line.c_iflag & (PARMRK | INPCK), tcflag_t(PARMRK | INPCK));
    EXPECT_EQ(line.c_iflag & (IGNPAR | ISTRIP | IXON | IXOFF), tcflag_t(0));

    QByteArray every;
    for (int v = 0; v < 256; ++v)
        every.append(char(v));
    ASSERT_EQ(link.output(every + every), CommError::None);
    EXPECT_EQ(pty.receive(512), every + every);

    // The line doubles each FF; pieces cut between the two must come out whole.
    pty.send(every.left(255));
    QTest::qWait(20);
    pty.send(every.mid(255) + every);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= 512; }, 3000));
    EXPECT_EQ(received, every + every);
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
    // A lock left behind by a program that has ended names no holder.
    QFile stale(QStringLiteral("/tmp/LCK.._nonexistent_ttyUSB9"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\nminicom\nhost\n");
    stale.close();

    const struct {
        QString device;
        OpenFailureCause cause;
        QString holder;
    } cases[] = {
        {QString(), OpenFailureCause::NoDevice, {}},
        {QStringLiteral("/nonexistent/ttyUSB9"), OpenFailureCause::NoDevice, {}},
        {pty.path(), OpenFailureCause::Busy, QString::number(QCoreApplication::applicationPid())},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        QtSerialLink link(c.device.isEmpty() ? std::nullopt : std::optional(c.device));
        EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
        EXPECT_FALSE(link.portOpen());
        EXPECT_EQ(link.lastOpenFailure().cause, c.cause);
        EXPECT_EQ(link.lastOpenFailure().device, c.device);
        EXPECT_TRUE(link.lastOpenFailure().holder.contains(c.holder));
    }
    stale.remove();
}
