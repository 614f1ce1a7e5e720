#include "platform/qtseriallink_p.h"
#include "pseudoterminal.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class LinkOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isValid());
        QObject::connect(&link, &SerialLink::onComm, &link, [this] {
            ++comms;
            if (taking)
                received += link.input();
        });
    }

    PseudoTerminal pty;
    QtSerialLink link{pty.path()};
    QByteArray received;
    bool taking = true; // else received bytes wait in the link
    int comms = 0;
};

} // namespace

// Opened, tuned in place to an odd and an even setting, closed and reopened:
// each time the line is raw, marks damaged bytes, carries every byte value,
// keeps DTR and RTS up, and hands on nothing that came before.
TEST_F(LinkOnPty, CarriesEveryByteValueBothWaysAtEachSettingAndDropsWhatCameBefore)
{
    link.setDTREnable(true);
    link.setRTSEnable(true);
    int opens = 0;
    QObject::connect(&link, &SerialLink::opened, &link, [&] { ++opens; });
    QByteArray every;
    for (int v = 0; v < 256; ++v)
        every.append(char(v));
    const struct { const char *settings; bool reopen; speed_t speed; tcflag_t parity; } steps[] = {
        {"4800,N,8,1", true, B4800, 0},
        {"9600,O,8,1", false, B9600, PARENB | PARODD},
        {"19200,E,8,1", false, B19200, PARENB},
        {"4800,N,8,1", true, B4800, 0},
    };
    pty.send(QByteArray::fromHex("f0aa")); // waits in the driver from before the open
    ASSERT_TRUE(QTest::qWaitFor([&] { return pty.pending() == 2; }));
    for (const auto &step : steps) {
        SCOPED_TRACE(step.settings);
        ASSERT_TRUE(!step.reopen || link.setPortOpen(false) == CommError::None);
        ASSERT_EQ(link.retune(QString::fromLatin1(step.settings)), CommError::None); // closed: only kept
        ASSERT_TRUE(!step.reopen || link.setPortOpen(true) == CommError::None);
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
        // Received, not taken: the next setting must not hand it on.
        received.clear();
        taking = false;
        const int events = comms;
        pty.send(QByteArray::fromHex("f0bb"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return comms > events; }));
    }
    EXPECT_EQ(opens, 2);
}

TEST_F(LinkOnPty, FarEndHangUpIsOneQuietLoss)
{
    int lost = 0;
    QObject::connect(&link, &QtSerialLink::linkLost, &link, [&] { ++lost; });
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    pty.send(QByteArray::fromHex("f0"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }, 2000));

    // The loss closes the port, which ends the errors a vanished device
    // repeats; whatever they queued before that is handled here too.
    pty.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return lost > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_EQ(received, QByteArray::fromHex("f0"));
}

namespace {

// What an open of `device` says, tried in a child process as nobody: root
// opens any device, nobody is refused one with no permissions at all.
QString openedAsNobody(const std::optional<QString> &device)
{
    int out[2];
    if (::pipe(out) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(out[0]);
        QtSerialLink link(device);
        const bool dropped = ::geteuid() != 0 || ::setuid(65534) == 0;
        const bool failed = dropped && link.setPortOpen(true) == CommError::OpenFailed && !link.portOpen();
        const QByteArray said = failed ? describeOpenFailure(QStringLiteral("COM1"), link.lastOpenFailure()).toUtf8()
                                       : QByteArray("opened");
        ::_exit(::write(out[1], said.constData(), size_t(said.size())) == said.size() ? 0 : 1);
    }
    ::close(out[1]);
    QByteArray said;
    char chunk[256];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
        said.append(chunk, n);
    ::close(out[0]);
    ::waitpid(child, nullptr, 0);
    return QString::fromUtf8(said);
}

} // namespace

TEST(LinkOpen, FailsClosedAndSaysWhy)
{
    PseudoTerminal pty, locked;
    QtSerialLink holder(pty.path());
    ASSERT_EQ(holder.setPortOpen(true), CommError::None);
    ASSERT_EQ(::chmod(locked.path().toLocal8Bit().constData(), 0), 0);
    const struct { std::optional<QString> device; QString said; } cases[] = {
        {std::nullopt, QStringLiteral("COM1：没有对应的串口设备")},
        {QStringLiteral("/nonexistent/ttyUSB9"), QStringLiteral("COM1：/nonexistent/ttyUSB9 不存在（设备未连接或已拔出）")},
        {pty.path(), QStringLiteral("COM1：%1 正被其他程序占用（platform_tests，进程 %2）")
                         .arg(pty.path()).arg(QCoreApplication::applicationPid())},
        {locked.path(), QStringLiteral("COM1：无权打开 %1。请把用户加入 dialout 组（sudo adduser $USER dialout），然后重新登录")
                            .arg(locked.path())},
    };
    for (const auto &c : cases)
        EXPECT_EQ(openedAsNobody(c.device), c.said);
    // A lock left behind by a program that has ended names no holder.
    QTemporaryDir locks;
    QFile stale(locks.filePath(QStringLiteral("LCK..ttyUSB9")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly) && stale.write("999999999\nminicom\nhost\n") > 0);
    stale.close();
    EXPECT_EQ(lockHolder(QStringLiteral("/dev/ttyUSB9"), {locks.path()}), QString());
}
