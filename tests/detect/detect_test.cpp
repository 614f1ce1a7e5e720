#include "detectionscan.h"
#include "failurereport.h"
#include "scansettings.h"

#include "fakeform.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QByteArray kProbe("\xF0\xCC\x0D", 3);
const QString kNoDevice = QStringLiteral("检测不到设备！");

// The scan order, written out here rather than taken from the tool's table.
const char *const kOrder[21] = {
    "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",  "2400,N,8,1",  "2400,O,8,1",  "2400,E,8,1",
    "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",  "9600,N,8,1",  "9600,O,8,1",  "9600,E,8,1",
    "19200,N,8,1", "19200,O,8,1", "19200,E,8,1", "38400,N,8,1", "38400,O,8,1", "38400,E,8,1",
    "57600,N,8,1", "57600,O,8,1", "57600,E,8,1",
};

// The window after start-up: port 1 open (at "4800,N,8,1" unless told
// otherwise), every list at its first item. The receive handler is not part
// of this; its effect on the shared flags is played by answered().
struct Window : FakeForm {
    explicit Window(const char *settings = "4800,N,8,1")
    {
        link.setSettings(QString::fromLatin1(settings));
        link.setPortOpen(true);
        link.opens.clear();
        controls.lists = {0, 0, 0, 0};
        timer1.onTimer = [this] { scan.Timer1_Timer(); };
        timer2.onTimer = [this] { report.Timer2_Timer(); };
    }

    // A scan already stepping: the last probe went unanswered.
    void midScan()
    {
        state.ReplyPending = true;
        state.SendReady = false;
        state.OpTag = protocol::Operation::Read;
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            timer1.fire();
    }

    // A good reply or any ended exchange, as the receive handler (or a port
    // selection) leaves the flags.
    void answered()
    {
        state.ReplyPending = false;
        state.SendReady = true;
    }

    int probes() const { return static_cast<int>(link.written.count(kProbe)); }

    DetectionScan scan{form};
    FailureReport report{form};
};

struct ScanTest : ::testing::Test, Window {};

} // namespace

TEST(ScanSettings, HoldsTheTwentyOneStringsInScanOrderEachLeadingToTheNext)
{
    ASSERT_EQ(ScanSettings.size(), 21u);
    for (int i = 0; i < 21; ++i) {
        SCOPED_TRACE(kOrder[i]);
        EXPECT_STREQ(ScanSettings[static_cast<std::size_t>(i)], kOrder[i]);
        EXPECT_EQ(nextScanSettings(QString::fromLatin1(kOrder[i])),
                  QString::fromLatin1(kOrder[(i + 1) % 21]));
    }
}

TEST(ScanSettings, LowerCaseParityIsRecognisedAndStringsInNoPositionHaveNoNext)
{
    EXPECT_EQ(nextScanSettings(QStringLiteral("4800,n,8,1")), QStringLiteral("4800,O,8,1"));
    EXPECT_EQ(nextScanSettings(QStringLiteral("57600,e,8,1")), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(nextScanSettings(QStringLiteral("9600,o,8,1")), QStringLiteral("9600,E,8,1"));
    for (const char *s : {"115200,N,8,1", "9600,N,8,2", "9600,N,7,1", "9600,M,8,1", " 9600,N,8,1",
                          "9600,N,8,1 ", "9600, N,8,1", "9600", "", "９６００,N,8,1"}) {
        SCOPED_TRACE(s);
        EXPECT_EQ(nextScanSettings(QString::fromUtf8(s)), std::nullopt);
    }
}

TEST_F(ScanTest, FirstScanWithUnansweredStartUpReadStepsThroughEveryEntryAndGivesUp)
{
    // Start-up's list selections reopened the port; its read went unanswered.
    state.OpTag = protocol::Operation::Read;
    scan.Command4_Click();
    ticks(1); // uncounted: green, no probe
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(link.closes, 0);
    EXPECT_EQ(state.ScanTicks, 0);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);

    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Red);
    EXPECT_FALSE(controls.buttons);
    EXPECT_EQ(link.closes, 1);
    ASSERT_EQ(link.opens.size(), 1u);
    EXPECT_EQ(link.opens[0].port, 1);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("4800,O,8,1"));
    EXPECT_EQ(link.inputLen, 0);
    EXPECT_EQ(link.written, QList<QByteArray>{kProbe});
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_EQ(state.ScanTicks, 1);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);

    ticks(40);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(state.ScanTicks, 41);
    EXPECT_EQ(probes(), 41);
    ASSERT_EQ(link.opens.size(), 41u);
    for (std::size_t i = 0; i < 41; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(link.opens[i].settings, QString::fromLatin1(kOrder[(7 + i) % 21]));
        EXPECT_EQ(link.opens[i].port, 1);
    }
    std::vector<Lamp> expected{Lamp::Green};
    for (int i = 0; i < 41; ++i)
        expected.push_back(i % 2 == 0 ? Lamp::Red : Lamp::Yellow);
    EXPECT_EQ(controls.lamps, expected);

    bool timerOffWhileOpen = false;
    Lamp lampWhileOpen = Lamp::Green;
    int ticksWhileOpen = -1;
    boxes.whileOpen = [&] {
        timerOffWhileOpen = !timer1.isEnabled();
        lampWhileOpen = controls.lamp();
        ticksWhileOpen = state.ScanTicks;
        ticks(2); // a disabled timer delivers nothing
    };
    ticks(1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, kNoDevice);
    EXPECT_EQ(boxes.shown[0].title, QString());
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(timerOffWhileOpen);
    EXPECT_EQ(lampWhileOpen, Lamp::Red);
    EXPECT_EQ(ticksWhileOpen, 0);
    EXPECT_FALSE(timer1.isEnabled());
    EXPECT_EQ(controls.lamp(), Lamp::Red);
    EXPECT_FALSE(controls.buttons);
    EXPECT_EQ(probes(), 41);
    EXPECT_EQ(link.opens.size(), 41u);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);
    // The port stays at the last settings tried.
    EXPECT_TRUE(link.portOpen());
    EXPECT_EQ(link.settings(), QStringLiteral("2400,E,8,1"));
}

TEST_F(ScanTest, FirstScanWithAnsweredStartUpReadSendsHandshakeAtOnce)
{
    // Start-up's list selections reopened the port; its read was answered.
    state.OpTag = protocol::Operation::Read;
    state.SendReady = true;
    scan.Command4_Click();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(link.written, QList<QByteArray>{kProbe});
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);
    // A reply to the handshake stops the scan here: found, with nothing counted.
    EXPECT_EQ(link.closes, 0);
    EXPECT_EQ(state.ScanTicks, 0);
}

TEST(DetectionScan, StepsFromWhatThePortReadsBackOnThePickedPort)
{
    const struct {
        const char *settings;
        int comboIndex, port;
        const char *next;
        int inputLen;
    } cases[] = {
        {"57600,E,8,1", 0, 1, "1200,N,8,1", 0},
        {"4800,n,8,1", 0, 1, "4800,O,8,1", 0},
        {"4800,N,8,1", 2, 3, "4800,O,8,1", 0},
        // In no position: reopened unchanged, and on the same port.
        {"115200,N,8,1", 2, 1, "115200,N,8,1", -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings);
        Window w(c.settings);
        w.controls.lists[3] = c.comboIndex;
        w.midScan();
        w.scan.Command4_Click();
        w.ticks(1);
        EXPECT_EQ(w.link.closes, 1);
        ASSERT_EQ(w.link.opens.size(), 1u);
        EXPECT_EQ(w.link.opens[0].port, c.port);
        EXPECT_EQ(w.link.opens[0].settings, QString::fromLatin1(c.next));
        EXPECT_EQ(w.link.inputLen, c.inputLen);
        EXPECT_EQ(w.link.written, QList<QByteArray>{kProbe});
        EXPECT_EQ(w.state.OpTag, protocol::Operation::Read);
    }
}

TEST_F(ScanTest, ClickOnlyRestartsTheCountAndKeepsLampPhase)
{
    midScan();
    state.ScanTicks = 7;
    scan.Command4_Click();
    EXPECT_TRUE(timer1.isEnabled());
    EXPECT_EQ(state.ScanTicks, 0);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(controls.lamps.empty());
    EXPECT_FALSE(controls.buttons);
    EXPECT_EQ(link.closes, 0);
    EXPECT_TRUE(link.written.isEmpty());

    ticks(3);
    EXPECT_EQ(controls.lamps, (std::vector<Lamp>{Lamp::Red, Lamp::Yellow, Lamp::Red}));
    scan.Command4_Click();
    EXPECT_TRUE(timer1.isEnabled());
    EXPECT_EQ(state.ScanTicks, 0);
    EXPECT_EQ(controls.lamps.size(), 3u);
    EXPECT_EQ(link.written.size(), 3);

    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Yellow);
    EXPECT_EQ(state.ScanTicks, 1);
    ticks(40);
    EXPECT_TRUE(boxes.shown.empty());
    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    EXPECT_EQ(probes(), 3 + 41);
}

TEST_F(ScanTest, TickAfterAnEndedExchangeIsUncountedAndTriesHandshake)
{
    midScan();
    scan.Command4_Click();
    ticks(2);
    // A rejected write is reported mid-scan.
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    timer2.fire();
    ASSERT_EQ(boxes.shown.size(), 1u);
    auto sent = link.written.size();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(link.written.size(), sent + 1);
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_EQ(state.ScanTicks, 2);

    ticks(1); // now at "9600,N,8,1", lamp phase on
    const int closesBefore = link.closes;
    // The user picks COM2: the port reopens there at the same settings.
    controls.lists[3] = 1;
    link.setPortOpen(false);
    link.setCommPort(2);
    link.setPortOpen(true);
    answered();
    const auto opensBefore = link.opens.size();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_EQ(link.written.last(), kProbe);
    EXPECT_EQ(link.opens.size(), opensBefore);
    EXPECT_EQ(link.closes, closesBefore + 1);
    EXPECT_EQ(state.ScanTicks, 3);

    ticks(1);
    EXPECT_EQ(state.ScanTicks, 4);
    EXPECT_EQ(controls.lamp(), Lamp::Yellow);
    EXPECT_FALSE(controls.buttons);
    EXPECT_EQ(link.opens.back().port, 2);
    EXPECT_EQ(link.opens.back().settings, QStringLiteral("9600,O,8,1"));

    // Giving up right after an uncounted tick leaves the buttons enabled.
    ticks(37);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(state.ScanTicks, 41);
    answered();
    ticks(1);
    ASSERT_TRUE(controls.buttons);
    sent = link.written.size();
    ticks(1);
    EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("写入不成功!"), kNoDevice}));
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(controls.lamp(), Lamp::Red);
    EXPECT_EQ(link.written.size(), sent);
    EXPECT_FALSE(timer1.isEnabled());
}

TEST(DetectionScan, ClosedPortIsNotReopenedAndProbedOnlyIfSendReady)
{
    // A reopen failing mid-scan leaves the port closed, as does a start-up
    // that could not open it (SendReady then may still be set).
    using Op = protocol::Operation;
    const struct {
        bool reopenFails, replyPending, sendReady;
        Op tagBefore, tagAfter, tagAtEnd;
        Lamp lamp;
        bool buttons;
        int scanTicks, ticksLeft;
    } cases[] = {
        {true, true, false, Op::Read, Op::Read, Op::Read, Lamp::Red, false, 1, 41},
        {true, true, true, Op::Read, Op::Read, Op::Read, Lamp::Red, false, 1, 41},
        {false, true, true, Op::Read, Op::Read, Op::Read, Lamp::Red, false, 1, 41},
        {false, false, true, Op::Read, Op::Handshake, Op::Read, Lamp::Green, true, 0, 42},
        {false, true, false, Op::Write, Op::Write, Op::Write, Lamp::Red, false, 1, 41},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.reopenFails << c.replyPending << c.sendReady);
        Window w;
        if (c.reopenFails)
            w.link.failingPorts = {1};
        else
            w.link.setPortOpen(false);
        w.state.ReplyPending = c.replyPending;
        w.state.SendReady = c.sendReady;
        w.state.OpTag = c.tagBefore;
        w.scan.Command4_Click();
        w.ticks(1);
        EXPECT_FALSE(w.link.portOpen());
        EXPECT_EQ(w.link.closes, 1);
        EXPECT_TRUE(w.link.opens.empty());
        EXPECT_TRUE(w.link.written.isEmpty());
        EXPECT_EQ(w.state.OpTag, c.tagAfter);
        EXPECT_EQ(w.state.SendReady, c.sendReady);
        EXPECT_TRUE(w.state.ReplyPending);
        EXPECT_EQ(w.controls.lamp(), c.lamp);
        EXPECT_EQ(w.controls.buttons, c.buttons);
        EXPECT_EQ(w.state.ScanTicks, c.scanTicks);

        w.ticks(c.ticksLeft - 1);
        EXPECT_EQ(w.link.closes, 1);
        EXPECT_TRUE(w.link.opens.empty());
        EXPECT_TRUE(w.link.written.isEmpty());
        EXPECT_TRUE(w.boxes.shown.empty());
        EXPECT_EQ(w.controls.lamps.size(), static_cast<std::size_t>(c.ticksLeft));
        EXPECT_EQ(w.state.OpTag, c.tagAtEnd);
        EXPECT_EQ(w.state.SendReady, c.sendReady);
        EXPECT_TRUE(w.state.ReplyPending);

        w.ticks(1);
        EXPECT_EQ(w.boxes.texts(), QStringList{kNoDevice});
        EXPECT_FALSE(w.timer1.isEnabled());
        EXPECT_TRUE(w.link.opens.empty());
    }
}

TEST_F(ScanTest, FailureIsReportedOnceWithApplicationTitleAfterTheExchangeEnds)
{
    midScan();
    bool endedWhileOpen = false;
    bool timerOnWhileOpen = false;
    boxes.whileOpen = [&] {
        endedWhileOpen = !state.ReplyPending && state.SendReady;
        timerOnWhileOpen = timer2.isEnabled();
        timer2.fire(); // a tick falling due while the box is open
    };
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    timer2.fire();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("写入不成功!"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Ostrevi电台参数设置程序"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_TRUE(timerOnWhileOpen);
    EXPECT_FALSE(timer2.isEnabled());
    EXPECT_FALSE(state.ReplyPending);
    EXPECT_TRUE(state.SendReady);
}

TEST_F(ScanTest, FailureReportTakesTheNameWhenTheTickRunsAndReportsEachRejectionOnce)
{
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    timer2.setEnabled(true);
    state.OpName = QStringLiteral("激活"); // an activation rejected in the meantime
    timer2.fire();
    timer2.fire();
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    timer2.fire();
    EXPECT_EQ(boxes.texts(), (QStringList{QStringLiteral("激活不成功!"), QStringLiteral("写入不成功!")}));
}
