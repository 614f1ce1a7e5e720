#include "envguard.h"
#include "pseudoterminal.h"
#include "qtseriallink.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

QtSerialLink::PortResolver always(const QString &device)
{
    return [device](int) { return std::optional<QString>(device); };
}

QByteArray everyByteValue()
{
    QByteArray all;
    for (int v = 0; v <= 0xFF; ++v)
        all.append(static_cast<char>(v));
    return all;
}

double cpuSeconds()
{
    rusage ru {};
    ::getrusage(RUSAGE_SELF, &ru);
    return double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec)
           + double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// A link on a fresh pseudo-terminal, with what its receive events brought.
class LinkOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isValid());
        QObject::connect(&link, &SerialLink::onComm, &link, [this] {
            ++events;
            lastEvent = link.commEvent();
            received += link.input();
        });
    }

    void open(const QString &settings = QStringLiteral("4800,N,8,1"))
    {
        ASSERT_EQ(link.setSettings(settings), CommError::None);
        ASSERT_EQ(link.setPortOpen(true), CommError::None);
        ASSERT_TRUE(link.portOpen());
    }

    QByteArray waitForBytes(qsizetype count, int ms = 2000)
    {
        (void)QTest::qWaitFor([&] { return received.size() >= count; }, ms);
        return received;
    }

    PseudoTerminal pty;
    QtSerialLink link {always(pty.path())};
    QByteArray received;
    int events = 0;
    int lastEvent = 0;
};

} // namespace

TEST(QtSerialLink, StartsClosedOnPort1At9600N81)
{
    QtSerialLink link(always(QStringLiteral("/dev/null")));
    EXPECT_EQ(link.commPort(), 1);
    EXPECT_EQ(link.settings(), QStringLiteral("9600,N,8,1"));
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.commEvent(), 0);
    EXPECT_TRUE(link.input().isEmpty());
}

TEST(QtSerialLink, SettingsReadBackAsGiven)
{
    QtSerialLink link(always(QStringLiteral("/dev/null")));
    EXPECT_EQ(link.setSettings(QStringLiteral("4800,n,8,1")), CommError::None);
    EXPECT_EQ(link.settings(), QStringLiteral("4800,n,8,1"));
    EXPECT_EQ(link.setSettings(QStringLiteral("57600,E,8,1")), CommError::None);
    EXPECT_EQ(link.settings(), QStringLiteral("57600,E,8,1"));
}

TEST(QtSerialLink, MalformedSettingsLeaveSettingsInForce)
{
    QtSerialLink link(always(QStringLiteral("/dev/null")));
    ASSERT_EQ(link.setSettings(QStringLiteral("19200,O,8,1")), CommError::None);
    for (const char *bad : {"", "19200", "19200,O,8,1,", " 4800,N,8,1", "4800,N,8,1 ", "4800,Q,8,1",
                            "4800,N,9,1", "4800,N,8,3", "0,N,8,1", "-4800,N,8,1", "junk\x01\xff"}) {
        EXPECT_EQ(link.setSettings(QString::fromLatin1(bad)), CommError::BadSettings) << bad;
        EXPECT_EQ(link.settings(), QStringLiteral("19200,O,8,1")) << bad;
    }
}

TEST(QtSerialLink, KeepsInputLen)
{
    QtSerialLink link(always(QStringLiteral("/dev/null")));
    link.setInputLen(0);
    EXPECT_EQ(link.inputLen(), 0);
    link.setInputLen(3);
    EXPECT_EQ(link.inputLen(), 3);
}

TEST(QtSerialLink, AsksResolverForPortNumberAtOpen)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid());
    std::vector<int> asked;
    QtSerialLink link([&](int n) {
        asked.push_back(n);
        return std::optional<QString>(pty.path());
    });
    link.setCommPort(7);
    EXPECT_EQ(link.commPort(), 7);
    EXPECT_TRUE(asked.empty());
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    EXPECT_EQ(asked, std::vector<int> {7});
}

TEST_F(LinkOnPty, RefusesChangesWhileOpen)
{
    open();
    EXPECT_EQ(link.setSettings(QStringLiteral("9600,E,8,1")), CommError::PortAlreadyOpen);
    EXPECT_EQ(link.settings(), QStringLiteral("4800,N,8,1"));
    link.setCommPort(3);
    EXPECT_EQ(link.commPort(), 1);
    EXPECT_EQ(link.setPortOpen(true), CommError::PortAlreadyOpen);
    EXPECT_TRUE(link.portOpen());

    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    link.setCommPort(3);
    EXPECT_EQ(link.commPort(), 3);
    EXPECT_EQ(link.setSettings(QStringLiteral("9600,E,8,1")), CommError::None);
}

TEST_F(LinkOnPty, OpensRawEightBitLineWithParityMarks)
{
    open(QStringLiteral("4800,N,8,1"));
    termios tio {};
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(::cfgetispeed(&tio), speed_t(B4800));
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B4800));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (PARMRK | INPCK), tcflag_t(PARMRK | INPCK));
    EXPECT_EQ(tio.c_iflag & (IGNPAR | ISTRIP | IXON | IXOFF | ICRNL | INLCR | IGNCR), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);

    // The next open takes the settings given while closed.
    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    open(QStringLiteral("2400,N,8,2"));
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    EXPECT_EQ(::cfgetispeed(&tio), speed_t(B2400));
    EXPECT_EQ(tio.c_cflag & CSTOPB, tcflag_t(CSTOPB));
    EXPECT_EQ(tio.c_iflag & (PARMRK | INPCK), tcflag_t(PARMRK | INPCK));
}

TEST_F(LinkOnPty, SendsEveryByteValueUnaltered)
{
    open();
    const QByteArray all = everyByteValue();
    ASSERT_EQ(link.output(all), CommError::None);
    EXPECT_EQ(pty.receive(all.size()), all);

    ASSERT_EQ(link.output(QByteArray::fromHex("00111300ff")), CommError::None);
    EXPECT_EQ(pty.receive(5), QByteArray::fromHex("00111300ff"));
}

TEST_F(LinkOnPty, ReceivesEveryByteValueUnaltered)
{
    open();
    // Includes what the marking could mistake for its own: FF 00 x, FF FF.
    const QByteArray line = everyByteValue() + QByteArray::fromHex("ff0041ffff00ff11ff13ff");
    ASSERT_TRUE(pty.send(line));
    EXPECT_EQ(waitForBytes(line.size()), line);
    EXPECT_EQ(lastEvent, SerialLink::comEvReceive);
}

TEST_F(LinkOnPty, ReceivedFFComesOutSingle)
{
    open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0ff0d")));
    EXPECT_EQ(waitForBytes(3), QByteArray::fromHex("f0ff0d"));
    QTest::qWait(20);
    EXPECT_EQ(received, QByteArray::fromHex("f0ff0d"));
}

TEST(LineDiscipline, DoublesRealFFWhenMarkingParityErrors)
{
    // What the link undoes: with PARMRK the driver itself sends FF as FF FF.
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid());
    termios tio {};
    ASSERT_EQ(::tcgetattr(pty.slave(), &tio), 0);
    ::cfmakeraw(&tio);
    tio.c_iflag |= PARMRK | INPCK;
    tio.c_iflag &= ~tcflag_t(IGNPAR | ISTRIP | IXON | IXOFF);
    ASSERT_EQ(::tcsetattr(pty.slave(), TCSANOW, &tio), 0);

    ASSERT_TRUE(pty.send(QByteArray::fromHex("41ff42")));
    QByteArray got;
    QDeadlineTimer deadline(2000);
    while (got.size() < 4 && !deadline.hasExpired()) {
        pollfd p {pty.slave(), POLLIN, 0};
        if (::poll(&p, 1, 50) > 0) {
            char buf[16];
            const ssize_t n = ::read(pty.slave(), buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
        }
    }
    EXPECT_EQ(got, QByteArray::fromHex("41ffff42"));
}

TEST_F(LinkOnPty, InputHandsOverEverythingWaiting)
{
    QObject::disconnect(&link, &SerialLink::onComm, nullptr, nullptr);
    int raised = 0;
    QObject::connect(&link, &SerialLink::onComm, &link, [&] { ++raised; });
    link.setInputLen(1);
    open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0aa0102")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised > 0; }, 2000));
    QTest::qWait(30);
    EXPECT_EQ(link.commEvent(), SerialLink::comEvReceive);
    EXPECT_EQ(link.input(), QByteArray::fromHex("f0aa0102"));
    EXPECT_TRUE(link.input().isEmpty());
}

TEST_F(LinkOnPty, ReceiveBufferKeepsFirst1024Bytes)
{
    QObject::disconnect(&link, &SerialLink::onComm, nullptr, nullptr);
    open();
    QByteArray flood;
    for (int i = 0; i < 1500; ++i)
        flood.append(static_cast<char>(i % 251));
    ASSERT_TRUE(pty.send(flood));
    // Once the device's queue is empty the link has taken in every byte.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pty.bytesQueuedForLink() == 0; }, 2000));
    QTest::qWait(10);
    EXPECT_EQ(link.input(), flood.left(1024));
    ASSERT_TRUE(pty.send(QByteArray::fromHex("0d")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return link.input() == QByteArray::fromHex("0d"); }, 2000));
}

TEST_F(LinkOnPty, ModemLinesRefusedByPseudoTerminalDoNotFailOpen)
{
    link.setRTSEnable(true);
    link.setDTREnable(true);
    open();
    ASSERT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::None);
    EXPECT_EQ(pty.receive(3), QByteArray::fromHex("f0cc0d"));
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0")));
    EXPECT_EQ(waitForBytes(1), QByteArray::fromHex("f0"));

    // Changing them while open is refused the same way, and harmless.
    link.setDTREnable(false);
    link.setDTREnable(true);
    EXPECT_TRUE(link.portOpen());

    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    EXPECT_TRUE(link.portOpen());
}

TEST(QtSerialLinkOpen, FailsWithoutDeviceForPort)
{
    QtSerialLink link([](int) { return std::optional<QString>(); });
    EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(link.portOpen());
}

TEST(QtSerialLinkOpen, FailsForMissingDevice)
{
    QtSerialLink link(always(QStringLiteral("/dev/radio-setup-no-such-port")));
    EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
}

TEST(QtSerialLinkOpen, FailsForDanglingLink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link1 = dir.filePath(QStringLiteral("com1"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/radio-setup-unplugged"), link1));
    QtSerialLink link(always(link1));
    EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(link.portOpen());
}

TEST(QtSerialLinkOpen, FailsForFileThatIsNoSerialPort)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("ttyJunk"));
    QFile junk(path);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a port");
    junk.close();
    QtSerialLink link(always(path));
    EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(link.portOpen());
}

TEST(QtSerialLinkOpen, FailsForDeviceHeldByAnotherLink)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid());
    QtSerialLink first(always(pty.path()));
    QtSerialLink second(always(pty.path()));
    ASSERT_EQ(first.setPortOpen(true), CommError::None);

    EXPECT_EQ(second.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(second.portOpen());
    EXPECT_EQ(second.output(QByteArray::fromHex("aa")), CommError::PortNotOpen);

    // The holder is undisturbed, and the device is free once it lets go.
    ASSERT_EQ(first.output(QByteArray::fromHex("f0cc0d")), CommError::None);
    EXPECT_EQ(pty.receive(3), QByteArray::fromHex("f0cc0d"));
    ASSERT_EQ(first.setPortOpen(false), CommError::None);
    EXPECT_EQ(second.setPortOpen(true), CommError::None);
}

TEST_F(LinkOnPty, OutputOnClosedPortSendsNothing)
{
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
    open();
    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_TRUE(pty.receive(1, 100).isEmpty());
}

TEST_F(LinkOnPty, ClosingClosedPortIsNoOp)
{
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    open();
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_FALSE(link.portOpen());
}

TEST_F(LinkOnPty, CloseDiscardsBytesWaiting)
{
    QObject::disconnect(&link, &SerialLink::onComm, nullptr, nullptr);
    int raised = 0;
    QObject::connect(&link, &SerialLink::onComm, &link, [&] { ++raised; });
    open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0aa")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised > 0; }, 2000));

    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_TRUE(link.input().isEmpty());
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    raised = 0;
    QTest::qWait(50);
    EXPECT_EQ(raised, 0);
    EXPECT_TRUE(link.input().isEmpty());

    // A reception after the reopen is delivered on its own.
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0ee0d")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return raised > 0; }, 2000));
    QTest::qWait(20);
    EXPECT_EQ(link.input(), QByteArray::fromHex("f0ee0d"));
}

TEST_F(LinkOnPty, FarEndHangUpClosesOnceWithoutSpinning)
{
    int lost = 0;
    QObject::connect(&link, &QtSerialLink::linkLost, &link, [&] { ++lost; });
    open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0")));
    ASSERT_EQ(waitForBytes(1), QByteArray::fromHex("f0"));
    const int eventsBefore = events;

    // A plain event loop, as the window runs it: nothing sleeps between
    // rounds, so a flood of errors would take the whole second.
    const double cpuBefore = cpuSeconds();
    pty.hangUp();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuUsed = cpuSeconds() - cpuBefore;

    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(events, eventsBefore);
    EXPECT_LT(cpuUsed, 0.05) << "the event loop spun after the hang-up";
    EXPECT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_EQ(lost, 1);
}

TEST(QtSerialLinkLoss, OpensAnotherDeviceAfterLoss)
{
    PseudoTerminal gone;
    PseudoTerminal next;
    ASSERT_TRUE(gone.isValid() && next.isValid());
    QtSerialLink link([&](int n) { return std::optional<QString>(n == 1 ? gone.path() : next.path()); });
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    gone.hangUp();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.portOpen(); }, 2000));

    link.setCommPort(2);
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    QTest::qWait(30);
    EXPECT_TRUE(link.portOpen());
    ASSERT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::None);
    EXPECT_EQ(next.receive(3), QByteArray::fromHex("f0cc0d"));
}

TEST_F(LinkOnPty, ReceptionWhileModalBoxOpenRaisesNestedEvent)
{
    QObject::disconnect(&link, &SerialLink::onComm, nullptr, nullptr);
    QEventLoop *box = nullptr;
    bool nestedInsideBox = false;
    bool boxTimedOut = false;
    QObject::connect(&link, &SerialLink::onComm, &link, [&] {
        received += link.input();
        if (box) {
            nestedInsideBox = true;
            box->quit();
            return;
        }
        // The handler shows a modal box; the transceiver answers meanwhile.
        QEventLoop loop;
        box = &loop;
        QTimer::singleShot(20, &loop, [&] { pty.send(QByteArray::fromHex("aa0d")); });
        QTimer::singleShot(2000, &loop, [&] {
            boxTimedOut = true;
            loop.quit();
        });
        loop.exec();
        box = nullptr;
    });
    open();
    ASSERT_TRUE(pty.send(QByteArray::fromHex("f0")));
    (void)QTest::qWaitFor([&] { return nestedInsideBox || boxTimedOut; }, 3000);
    EXPECT_TRUE(nestedInsideBox);
    EXPECT_FALSE(boxTimedOut);
    EXPECT_EQ(received, QByteArray::fromHex("f0aa0d"));
}

TEST(QtSerialLinkPortMap, OpensComPortLinkedInPortsFolder)
{
    EnvGuard env("XDG_CONFIG_HOME");
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString ports = config.path() + QStringLiteral("/radio-setup/ports");
    ASSERT_TRUE(QDir().mkpath(ports));
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid());
    ASSERT_TRUE(QFile::link(pty.path(), ports + QStringLiteral("/com4")));

    QtSerialLink link;
    link.setCommPort(4);
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    ASSERT_EQ(link.output(QByteArray::fromHex("f0cc0d")), CommError::None);
    EXPECT_EQ(pty.receive(3), QByteArray::fromHex("f0cc0d"));

    // Opened under the device's own name, the port's lock keeps out a
    // program that opens the device directly.
    QtSerialLink direct(always(pty.path()));
    EXPECT_EQ(direct.setPortOpen(true), CommError::OpenFailed);
}

TEST(QtSerialLinkPortMap, DanglingLinkInPortsFolderFailsToOpen)
{
    EnvGuard env("XDG_CONFIG_HOME");
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString ports = config.path() + QStringLiteral("/radio-setup/ports");
    ASSERT_TRUE(QDir().mkpath(ports));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/radio-setup-unplugged"), ports + QStringLiteral("/com1")));

    QtSerialLink link;
    EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
    EXPECT_FALSE(link.portOpen());
}
