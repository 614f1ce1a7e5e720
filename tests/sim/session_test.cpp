#include "simfixture.h"

#include <limits.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

// The tool's end opening and closing, and the simulator's own life.

TEST_F(SimTest, LogsOpensClosesAndTheToolsSettings)
{
    startSim({"--settings", "9600,E,8,1"});
    ASSERT_TRUE(tool.open(sim.linkPath(), "19200,O,8,1"));
    EXPECT_TRUE(sim.waitForLine("open"));
    EXPECT_TRUE(sim.waitForLine("line 19200,O,8,1"));
    tool.close();
    EXPECT_TRUE(sim.waitForLine("close"));
}

TEST_F(SimTest, ModemLinesSetThroughShimAreLogged)
{
    startSim({});
    ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
    int bits = TIOCM_DTR | TIOCM_RTS;
    ASSERT_EQ(::ioctl(tool.fd(), TIOCMBIS, &bits), 0) << "is libptyshim.so preloaded?";
    EXPECT_TRUE(sim.waitForLine("modem DTR=on RTS=on"));
    int got = 0;
    ASSERT_EQ(::ioctl(tool.fd(), TIOCMGET, &got), 0);
    EXPECT_TRUE(got & TIOCM_DTR);
    EXPECT_TRUE(got & TIOCM_RTS);
    bits = TIOCM_RTS;
    ASSERT_EQ(::ioctl(tool.fd(), TIOCMBIC, &bits), 0);
    EXPECT_TRUE(sim.waitForLine("modem DTR=on RTS=off"));
}

TEST_F(SimTest, UnreadReplyDoesNotSurviveCloseAndReopen)
{
    startSim({});
    ask("4800,N,8,1", "F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("dev>tool F0 AA"));
    tool.close();
    ASSERT_TRUE(sim.waitForLine("close"));
    ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
}

TEST_F(SimTest, ReplyForClosedSessionIsDiscarded)
{
    startSim({"--delay", "300"});
    ask("4800,N,8,1", "F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("request read"));
    tool.close();
    ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
    EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(600)).empty());
    EXPECT_TRUE(sim.hasLine("discard F0 AA 00 18 DD 19 40 5A EC 19 0E 0D (tool closed)"));
}

TEST_F(SimTest, ReplyIsDiscardedWhenLineSettingsChangeBeforeIt)
{
    startSim({"--delay", "300"});
    ask("4800,N,8,1", "F0 CC 0D");
    ASSERT_TRUE(sim.waitForLine("request read"));
    termios t{};
    ASSERT_EQ(::tcgetattr(tool.fd(), &t), 0);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    ASSERT_EQ(::tcsetattr(tool.fd(), TCSANOW, &t), 0);
    EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(600)).empty());
    EXPECT_TRUE(sim.hasLine("(line now 9600,N,8,1)"));
}

TEST_F(SimTest, DeviceOutlivesManyReopens)
{
    startSim({});
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
        tool.close();
    }
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(tool.receive(12).size(), 12u);
    EXPECT_TRUE(sim.running());
}

TEST_F(SimTest, LinkPointsAtPtyAndGoesOnSigterm)
{
    startSim({"--com", "3"});
    EXPECT_EQ(sim.linkPath(), sim.portsDir() + "/com3");
    char target[PATH_MAX] = {};
    ASSERT_GT(::readlink(sim.linkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.ptyPath());
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    struct stat st;
    EXPECT_NE(::lstat(sim.linkPath().c_str(), &st), 0);
    ASSERT_FALSE(sim.lines().empty());
    EXPECT_NE(sim.lines().back().find(" exit"), std::string::npos);
}

TEST_F(SimTest, LinkGoesOnSigintWhileToolHoldsPort)
{
    startSim({});
    ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
    EXPECT_EQ(sim.stop(SIGINT), 0);
    struct stat st;
    EXPECT_NE(::lstat(sim.linkPath().c_str(), &st), 0);
}

TEST_F(SimTest, ExitsByItselfAfterSeconds)
{
    startSim({"--seconds", "0.3"});
    EXPECT_TRUE(sim.waitForLine(" exit", ToolEnd::Ms(2000)));
    EXPECT_EQ(sim.stop(0, ToolEnd::Ms(2000)), 0);
    struct stat st;
    EXPECT_NE(::lstat(sim.linkPath().c_str(), &st), 0);
}

TEST_F(SimTest, ReplacesStaleLinkAndLeavesOthersLinkAlone)
{
    startSim({});
    SimProcess second(RADIO_SIM_PATH);
    ASSERT_TRUE(second.start({"--ports-dir", sim.portsDir()}));
    EXPECT_EQ(second.linkPath(), sim.linkPath());
    EXPECT_EQ(sim.stop(SIGTERM), 0);
    char target[PATH_MAX] = {};
    ASSERT_GT(::readlink(second.linkPath().c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), second.ptyPath());
}

TEST(SimCommandLine, RejectsBadSettingsWithStatus2)
{
    for (const char *bad : {"9600,X,8,1", "9601,N,8,1", "9600,N,7,1", "9600,N,8,2", "115200,N,8,1", "9600,N,8,1,"}) {
        SimProcess sim(RADIO_SIM_PATH);
        EXPECT_FALSE(sim.start({"--settings", bad}, ToolEnd::Ms(2000))) << bad;
        EXPECT_EQ(sim.stop(SIGKILL), 2) << bad;
    }
}

TEST(SimCommandLine, RejectsUnknownAndIncompleteOptions)
{
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
                 {"--bogus"}, {"--com"}, {"--com", "0"}, {"--split", "0"}, {"--byte", "256"},
                 {"--tx", "-1"}, {"--seconds", "x"}}) {
        SimProcess sim(RADIO_SIM_PATH);
        EXPECT_FALSE(sim.start(args, ToolEnd::Ms(2000))) << args[0];
        EXPECT_EQ(sim.stop(SIGKILL), 2) << args[0];
    }
}

// The shim itself, on a pty of our own.

TEST(PtyShim, KeepsRequestedParityAndShowsItBack)
{
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(slave, &t), 0);
    cfmakeraw(&t);
    t.c_cflag |= PARENB | PARODD;
    EXPECT_EQ(::tcsetattr(slave, TCSANOW, &t), 0) << "is libptyshim.so preloaded?";
    termios back{};
    ASSERT_EQ(::tcgetattr(slave, &back), 0);
    EXPECT_TRUE(back.c_cflag & PARENB);
    EXPECT_TRUE(back.c_cflag & PARODD);
    EXPECT_FALSE(back.c_cflag & CMSPAR);

    t.c_cflag &= ~PARENB;
    EXPECT_EQ(::tcsetattr(slave, TCSANOW, &t), 0);
    ASSERT_EQ(::tcgetattr(slave, &back), 0);
    EXPECT_FALSE(back.c_cflag & PARENB);
    ::close(slave);
    ::close(master);
}

TEST(PtyShim, LeavesOtherDescriptorsAlone)
{
    int master = -1;
    int slave = -1;
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    int bits = TIOCM_DTR;
    // The master is not a serial port: the modem ioctls stay unsupported.
    EXPECT_NE(::ioctl(master, TIOCMBIS, &bits), 0);
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    termios t{};
    EXPECT_NE(::tcgetattr(pipeFds[0], &t), 0);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ::close(slave);
    ::close(master);
}
