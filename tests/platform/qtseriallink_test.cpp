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

#include <ctime>

namespace {

QtSerialLink::PortResolver always(const QString &device)
{
    return [device](int) { return std::optional<QString>(device); };
}

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

// A link whose port 2 is `spare` and every other port `pty`. `asked` records
// the port numbers it resolved, `events` counts its receive events.
class LinkOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isValid() && spare.isValid());
        QObject::connect(&link, &SerialLink::onComm, &link, [this] { ++events; });
    }

    void open(const QString &settings = QStringLiteral("4800,N,8,1"))
    {
        ASSERT_EQ(link.setSettings(settings), CommError::None);
        ASSERT_EQ(link.setPortOpen(true), CommError::None);
        ASSERT_TRUE(link.portOpen());
    }

    // Takes in each reception as it is raised, into `received`.
    void collect()
    {
        QObject::connect(&link, &SerialLink::onComm, &link, [this] {
            lastEvent = link.commEvent();
            received += link.input();
        });
    }

    QByteArray waitForBytes(qsizetype count)
    {
        (void)QTest::qWaitFor([&] { return received.size() >= count; }, 2000);
        return received;
    }

    PseudoTerminal pty;
    PseudoTerminal spare;
    std::vector<int> asked;
    QtSerialLink link {[this](int n) {
        asked.push_back(n);
        return std::optional<QString>(n == 2 ? spare.path() : pty.path());
    }};
    QByteArray received;
    int events = 0;
    int lastEvent = 0;
};

} // namespace

TEST(QtSerialLink, StartsClosedAndTakesOnlyGoodSettings)
{
    QtSerialLink link(always(QStringLiteral("/dev/null")));
    EXPECT_EQ(link.commPort(), 1);
    EXPECT_EQ(link.settings(), QStringLiteral("9600,N,8,1"));
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.commEvent(), 0);
    EXPECT_TRUE(link.input().isEmpty());

    EXPECT_EQ(link.setSettings(QStringLiteral("4800,n,8,1")), CommError::None);
    EXPECT_EQ(link.settings(), QStringLiteral("4800,n,8,1"));
    ASSERT_EQ(link.setSettings(QStringLiteral("19200,O,8,1")), CommError::None);
    for (const char *bad : {"", "19200", "19200,O,8,1,", " 4800,N,8,1", "4800,N,8,1 ", "4800,Q,8,1",
                            "4800,N,9,1", "4800,N,8,3", "0,N,8,1", "-4800,N,8,1", "junk\x01\xff"}) {
        EXPECT_EQ(link.setSettings(QString::fromLatin1(bad)), CommError::BadSettings) << bad;
        EXPECT_EQ(link.settings(), QStringLiteral("19200,O,8,1")) << bad;
    }
}

TEST_F(LinkOnPty, ResolvesThePortAtOpenAndRefusesChangesWhileOpen)
{
    link.setCommPort(7);
    EXPECT_EQ(link.commPort(), 7);
    EXPECT_TRUE(asked.empty());
    open();
    EXPECT_EQ(asked, std::vector<int> {7});

    EXPECT_EQ(link.setSettings(QStringLiteral("9600,E,8,1")), CommError::PortAlreadyOpen);
    EXPECT_EQ(link.settings(), QStringLiteral("4800,N,8,1"));
    link.setCommPort(3);
    EXPECT_EQ(link.commPort(), 7);
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

TEST_F(LinkOnPty, CarriesEveryByteValueBothWaysWithModemLinesRefused)
{
    // The pseudo-terminal refuses DTR and RTS; the open must not fail.
    link.setRTSEnable(true);
    link.setDTREnable(true);
    collect();
    open();
    QByteArray all;
    for (int v = 0; v <= 0xFF; ++v)
        all.append(char(v));
    ASSERT_EQ(link.output(all), CommError::None);
    EXPECT_EQ(pty.receive(all.size()), all);

    // Includes what the marking could mistake for its own: FF 00 x, FF FF.
    const QByteArray line = all + hex("ff0041ffff00ff11ff13ff");
    ASSERT_TRUE(pty.send(line));
    EXPECT_EQ(waitForBytes(line.size()), line);
    EXPECT_EQ(lastEvent, SerialLink::comEvReceive);
    QTest::qWait(20);
    EXPECT_EQ(received, line);

    // Changing them while open is refused the same way, and harmless.
    link.setDTREnable(false);
    link.setDTREnable(true);
    EXPECT_TRUE(link.portOpen());
    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    EXPECT_TRUE(link.portOpen());
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

    ASSERT_TRUE(pty.send(hex("41ff42")));
    QByteArray got;
    for (QDeadlineTimer deadline(2000); got.size() < 4 && !deadline.hasExpired();) {
        pollfd p {pty.slave(), POLLIN, 0};
        char buf[16];
        const ssize_t n = ::poll(&p, 1, 50) > 0 ? ::read(pty.slave(), buf, sizeof buf) : 0;
        if (n > 0)
            got.append(buf, n);
    }
    EXPECT_EQ(got, hex("41ffff42"));
}

TEST_F(LinkOnPty, InputHandsOverTheFirst1024BytesWhateverInputLen)
{
    link.setInputLen(1);
    open();
    QByteArray flood;
    for (int i = 0; i < 1500; ++i)
        flood.append(static_cast<char>(i % 251));
    ASSERT_TRUE(pty.send(flood));
    // Once the device's queue is empty the link has taken in every byte.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pty.bytesQueuedForLink() == 0; }, 2000));
    QTest::qWait(10);
    EXPECT_EQ(link.input(), flood.left(1024));
    ASSERT_TRUE(pty.send(hex("0d")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return link.input() == hex("0d"); }, 2000));
}

TEST(QtSerialLinkOpen, FailsAndStaysClosedWithoutAUsableDevice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString dangling = dir.filePath(QStringLiteral("com1"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/radio-setup-unplugged"), dangling));
    QFile junk(dir.filePath(QStringLiteral("ttyJunk")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a port");
    junk.close();

    const std::optional<QString> devices[] = {
        std::nullopt, QStringLiteral("/dev/radio-setup-no-such-port"), dangling, junk.fileName()};
    for (const auto &device : devices) {
        SCOPED_TRACE(device.value_or(QStringLiteral("no device")).toStdString());
        QtSerialLink link([&](int) { return device; });
        EXPECT_EQ(link.setPortOpen(true), CommError::OpenFailed);
        EXPECT_FALSE(link.portOpen());
        EXPECT_EQ(link.output(hex("f0cc0d")), CommError::PortNotOpen);
    }
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
    EXPECT_EQ(second.output(hex("aa")), CommError::PortNotOpen);

    // The holder is undisturbed, and the device is free once it lets go.
    ASSERT_EQ(first.output(hex("f0cc0d")), CommError::None);
    EXPECT_EQ(pty.receive(3), hex("f0cc0d"));
    ASSERT_EQ(first.setPortOpen(false), CommError::None);
    EXPECT_EQ(second.setPortOpen(true), CommError::None);
}

TEST_F(LinkOnPty, ClosedPortSendsNothingAndDiscardsBytesWaiting)
{
    EXPECT_EQ(link.output(hex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    open();
    ASSERT_TRUE(pty.send(hex("f0aa")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events > 0; }, 2000));

    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_FALSE(link.portOpen());
    EXPECT_TRUE(link.input().isEmpty());
    EXPECT_EQ(link.output(hex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_TRUE(pty.receive(1, 100).isEmpty());

    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    events = 0;
    QTest::qWait(50);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(link.input().isEmpty());

    // A reception after the reopen is delivered on its own.
    ASSERT_TRUE(pty.send(hex("f0ee0d")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events > 0; }, 2000));
    QTest::qWait(20);
    EXPECT_EQ(link.input(), hex("f0ee0d"));
}

TEST_F(LinkOnPty, FarEndHangUpClosesOnceWithoutSpinningThenAnotherPortOpens)
{
    int lost = 0;
    QObject::connect(&link, &QtSerialLink::linkLost, &link, [&] { ++lost; });
    collect();
    open();
    ASSERT_TRUE(pty.send(hex("f0")));
    ASSERT_EQ(waitForBytes(1), hex("f0"));
    const int eventsBefore = events;

    // A plain event loop, as the window runs it: nothing sleeps between
    // rounds, so a flood of errors would take the whole second.
    const std::clock_t cpuBefore = std::clock(); // the whole process, every thread
    pty.hangUp();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuUsed = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;

    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(lost, 1);
    EXPECT_EQ(events, eventsBefore);
    EXPECT_LT(cpuUsed, 0.05) << "the event loop spun after the hang-up";
    EXPECT_EQ(link.output(hex("f0cc0d")), CommError::PortNotOpen);
    EXPECT_EQ(link.setPortOpen(false), CommError::None);
    EXPECT_EQ(lost, 1);

    link.setCommPort(2);
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    QTest::qWait(30);
    EXPECT_TRUE(link.portOpen());
    ASSERT_EQ(link.output(hex("f0cc0d")), CommError::None);
    EXPECT_EQ(spare.receive(3), hex("f0cc0d"));
}

TEST_F(LinkOnPty, ReceptionWhileModalBoxOpenRaisesNestedEvent)
{
    QEventLoop *box = nullptr;
    bool nestedInsideBox = false;
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
        QTimer::singleShot(20, &loop, [&] { pty.send(hex("aa0d")); });
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec();
        box = nullptr;
    });
    open();
    ASSERT_TRUE(pty.send(hex("f0")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return nestedInsideBox; }, 3000));
    EXPECT_EQ(received, hex("f0aa0d"));
}

TEST(QtSerialLinkPortMap, OpensComPortLinkedInPortsFolderUnderTheDevicesName)
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
    ASSERT_EQ(link.output(hex("f0cc0d")), CommError::None);
    EXPECT_EQ(pty.receive(3), hex("f0cc0d"));
    // The port's lock then keeps out a program that opens the device directly.
    QtSerialLink direct(always(pty.path()));
    EXPECT_EQ(direct.setPortOpen(true), CommError::OpenFailed);
}
