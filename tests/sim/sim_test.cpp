#include "simprocess.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// radio-sim with the tool's end of its line opened by QSerialPort, through
// the pty shim when parity is asked for.
class SimTest : public ::testing::Test
{
protected:
    SimTest() : sim(RADIO_SIM_PATH) { }

    void startSim(const std::vector<std::string> &args)
    {
        ASSERT_TRUE(sim.start(args)) << "radio-sim did not get ready";
    }

    // settings like "9600,E,8,1"
    void open(const std::string &settings)
    {
        port.close();
        int speed = 0;
        char parity = 0;
        ASSERT_EQ(std::sscanf(settings.c_str(), "%d,%c,8,1", &speed, &parity), 2);
        port.setPortName(QString::fromStdString(sim.ptyPath()));
        port.setBaudRate(speed);
        port.setParity(parity == 'E' ? QSerialPort::EvenParity
                                     : parity == 'O' ? QSerialPort::OddParity : QSerialPort::NoParity);
        ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << settings << port.errorString().toStdString();
    }

    void send(const std::string &hex)
    {
        port.write(QByteArray::fromHex(QByteArray::fromStdString(hex)));
        ASSERT_TRUE(port.waitForBytesWritten(1000));
    }

    void ask(const std::string &settings, const std::string &request)
    {
        ASSERT_NO_FATAL_FAILURE(open(settings));
        ASSERT_NO_FATAL_FAILURE(send(request));
    }

    // What arrives until count bytes are in or the time is up, as "F0 AA ...".
    std::string receive(qsizetype count, int ms = 1000)
    {
        QElapsedTimer clock;
        clock.start();
        QByteArray got = port.readAll();
        while (got.size() < count && clock.elapsed() < ms
               && port.waitForReadyRead(int(std::max<qint64>(1, ms - clock.elapsed()))))
            got += port.readAll();
        return got.toHex(' ').toUpper().toStdString();
    }

    // Long enough for a reply that is coming to have come.
    std::string silence(int ms = 300) { return receive(1 << 20, ms); }

    SimProcess sim;
    QSerialPort port;
};

TEST_F(SimTest, AnswersOnlyAtItsOwnSpeedAndParity)
{
    startSim({"--settings", "9600,E,8,1", "--tx", "100000", "--rx", "999999", "--byte", "0xA3"});
    for (const std::string other : {"4800,E,8,1", "9600,O,8,1", "9600,N,8,1"}) {
        ask(other, "F0 CC 0D");
        EXPECT_EQ(silence(), "") << other;
        EXPECT_TRUE(sim.waitForLine("silent: line " + other + ", device 9600,E,8,1"));
    }
    ask("9600,E,8,1", "F0 CC 0D");
    EXPECT_EQ(receive(12), "F0 AA A0 86 01 00 3F 42 0F 00 A3 0D");
    EXPECT_EQ(silence(100), "");
    EXPECT_TRUE(sim.waitForLine("tool>dev F0 CC 0D [9600,E,8,1]"));
    EXPECT_TRUE(sim.waitForLine("dev>tool F0 AA A0 86 01 00 3F 42 0F 00 A3 0D [9600,E,8,1]"));
}

TEST_F(SimTest, WriteStoresAndActivateSwitchesToTheStoredSettings)
{
    startSim({"--settings", "4800,N,8,1"});
    const struct { const char *at, *byte, *next; } steps[] = {
            {"4800,N,8,1", "13", "9600,E,8,1"},  // low 3; parity bits 01
            {"9600,E,8,1", "61", "38400,O,8,1"}, // low 1 + high flag; 10
            {"38400,O,8,1", "73", "9600,O,8,1"}, // parity field 3 keeps it
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.at);
        const std::string frame = std::string("F0 AA A0 86 01 00 3F 42 0F 00 ") + s.byte + " 0D";
        ask(s.at, frame);
        EXPECT_EQ(receive(3), "F0 EE 0D");
        EXPECT_TRUE(sim.waitForLine(std::string("request write tx=100000 rx=999999 byte=") + s.byte));
        send("F0 CC 0D"); // stored, and still answered at the old settings
        EXPECT_EQ(receive(12), frame);
        send("F0 33 0D");
        EXPECT_EQ(receive(3), "F0 BB 0D");
        EXPECT_TRUE(sim.waitForLine(std::string("switch ") + s.at + " -> " + s.next));
        send("F0 CC 0D");
        EXPECT_EQ(silence(), "") << "still answering at the old settings";
    }
    ask("9600,O,8,1", "F0 CC 0D");
    EXPECT_EQ(receive(12), "F0 AA A0 86 01 00 3F 42 0F 00 73 0D");
}

TEST_F(SimTest, MalformedRequestsGetNoAnswer)
{
    startSim({"--settings", "4800,N,8,1"});
    open("4800,N,8,1");
    for (const char *bad : {"F0 CC 0E", "F1 CC 0D", "F0 AB 0D", "F0 EE 0D",
                            "F0 AA A0 86 01 00 3F 42 0F 00 A3 0E", "F0 AA A0 86 01 00 3F 42 0F 00 0D"}) {
        send(bad);
        EXPECT_EQ(silence(200), "") << bad;
    }
    EXPECT_FALSE(sim.hasLine(" request "));
    send("F0 CC 0D");
    EXPECT_EQ(receive(12), "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
}

TEST_F(SimTest, NothingStaleSurvivesACloseOrASettingsChange)
{
    startSim({"--delay", "300"});
    ask("4800,N,8,1", "F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("dev>tool F0 AA"));
    port.close();
    ASSERT_TRUE(sim.waitForLine("close"));
    open("4800,N,8,1");
    EXPECT_EQ(silence(), "") << "unread reply kept across close and reopen";

    send("F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("request read"));
    open("4800,N,8,1");
    EXPECT_EQ(silence(600), "");
    EXPECT_TRUE(sim.waitForLine("discard F0 AA 00 18 DD 19 40 5A EC 19 0E 0D (tool closed)"));

    send("F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("request read"));
    ASSERT_TRUE(port.setBaudRate(9600));
    EXPECT_EQ(silence(600), "");
    EXPECT_TRUE(sim.waitForLine("(line now 9600,N,8,1)"));
}

TEST_F(SimTest, ShimGivesQSerialPortParityAndShowsItBack)
{
    startSim({"--settings", "9600,E,8,1"});
    open("9600,E,8,1");
    EXPECT_TRUE(sim.waitForLine("line 9600,E,8,1"));
    termios t{};
    ASSERT_EQ(::tcgetattr(port.handle(), &t), 0);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB));
    ASSERT_TRUE(port.setParity(QSerialPort::OddParity)) << port.errorString().toStdString();
    ASSERT_EQ(::tcgetattr(port.handle(), &t), 0);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), tcflag_t(PARENB | PARODD));
    EXPECT_TRUE(sim.waitForLine("line 9600,O,8,1"));
    ASSERT_TRUE(port.setParity(QSerialPort::NoParity));
    ASSERT_EQ(::tcgetattr(port.handle(), &t), 0);
    EXPECT_EQ(t.c_cflag & PARENB, 0u);
    EXPECT_TRUE(port.setDataTerminalReady(true));
    EXPECT_TRUE(port.setRequestToSend(true));
    EXPECT_TRUE(sim.waitForLine("modem DTR=on RTS=on"));
    port.close();
    EXPECT_TRUE(sim.waitForLine("close"));

    // A pty master and a pipe are no serial ports: the shim leaves them alone.
    int master = -1, slave = -1, pipeFds[2];
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(::pipe(pipeFds), 0);
    int bits = TIOCM_DTR;
    EXPECT_NE(::ioctl(master, TIOCMBIS, &bits), 0);
    EXPECT_NE(::tcgetattr(pipeFds[0], &t), 0);
    for (int fd : {master, slave, pipeFds[0], pipeFds[1]})
        ::close(fd);
}

TEST(SimLife, LinkPointsAtThePtyAndGoesOnExit)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SimProcess sim(RADIO_SIM_PATH);
        ASSERT_TRUE(sim.start({"--com", "3"}));
        EXPECT_EQ(sim.linkPath(), sim.portsDir() + "/com3");
        char target[PATH_MAX] = {};
        ASSERT_GT(::readlink(sim.linkPath().c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(std::string(target), sim.ptyPath());
        QSerialPort held(QString::fromStdString(sim.ptyPath()));
        ASSERT_TRUE(held.open(QIODevice::ReadWrite));
        EXPECT_EQ(sim.stop(signal), 0) << signal;
        struct stat st;
        EXPECT_NE(::lstat(sim.linkPath().c_str(), &st), 0) << signal;
        ASSERT_FALSE(sim.lines().empty());
        EXPECT_NE(sim.lines().back().find(" exit"), std::string::npos);
    }
}

TEST(SimLife, RejectsABadCommandLineWithStatus2)
{
    const std::vector<std::vector<std::string>> bad{
            {"--settings", "9600,X,8,1"}, {"--settings", "9601,N,8,1"}, {"--settings", "9600,N,7,1"},
            {"--settings", "9600,N,8,2"}, {"--settings", "115200,N,8,1"}, {"--settings", "9600,N,8,1,"},
            {"--bogus"}, {"--com"}, {"--com", "0"}, {"--split", "0"}, {"--byte", "256"},
            {"--tx", "-1"}, {"--seconds", "x"}};
    for (const auto &args : bad) {
        SimProcess sim(RADIO_SIM_PATH);
        EXPECT_FALSE(sim.start(args, SimProcess::Ms(2000))) << args.back();
        EXPECT_EQ(sim.stop(SIGKILL), 2) << args.back();
    }
}
