#include "detectionscan.h"
#include "failurereport.h"

#include "fakes.h"
#include "formcontext.h"
#include "formstate.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QByteArray kProbe("\xF0\xCC\x0D", 3);
const QString kNoDevice = QStringLiteral("检测不到设备！");

// The scan order, written out here rather than taken from the tool's table.
const char *const kOrder[21] = {
    "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",  "2400,N,8,1",  "2400,O,8,1",
    "2400,E,8,1",  "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",  "9600,N,8,1",
    "9600,O,8,1",  "9600,E,8,1",  "19200,N,8,1", "19200,O,8,1", "19200,E,8,1",
    "38400,N,8,1", "38400,O,8,1", "38400,E,8,1", "57600,N,8,1", "57600,O,8,1",
    "57600,E,8,1",
};

} // namespace

// The window after start-up: port 1 open at "4800,N,8,1", every list at its
// first item. The receive handler is not part of this; its effect on the
// shared flags is played by answered() and handshakeAnswered().
class ScanTest : public ::testing::Test
{
protected:
    ScanTest()
    {
        portAt("4800,N,8,1");
        controls.lists = {0, 0, 0, 0};
        timer1.onTimer = [this] { scan.Timer1_Timer(); };
        timer2.onTimer = [this] { report.Timer2_Timer(); };
    }

    // Start-up's list selections reopened the port (ReplyPending clear); its
    // read request went out and was answered or not.
    void afterStartUp(bool readAnswered)
    {
        state.ReplyPending = false;
        state.SendReady = readAnswered;
        state.OpTag = protocol::Operation::Read;
    }

    // The port as the link reads it back, open, with nothing recorded yet.
    void portAt(const char *settings)
    {
        link.setPortOpen(false);
        link.setSettings(QString::fromLatin1(settings));
        link.setPortOpen(true);
        link.opens.clear();
        link.closes = 0;
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

    // A good reply under "读取" or any ended exchange, as the receive handler
    // (or a port selection) leaves the flags.
    void answered()
    {
        state.ReplyPending = false;
        state.SendReady = true;
    }

    void handshakeAnswered()
    {
        timer1.setEnabled(false);
        answered();
        controls.setLamp(Lamp::Green);
    }

    int probes() const { return static_cast<int>(link.written.count(kProbe)); }

    FormState state;
    FakeControls controls;
    FakeLink link;
    FakeTimer timer1;
    FakeTimer timer2;
    FakeMessageBox boxes;
    FormContext form{state, controls, link, timer1, timer2, boxes};
    DetectionScan scan{form};
    FailureReport report{form};
};

TEST_F(ScanTest, ClickStartsTimerAndResetsCountOnly)
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
}

TEST_F(ScanTest, FirstScanWithUnansweredStartUpReadFirstTickIsGreenWithoutProbe)
{
    afterStartUp(false);
    scan.Command4_Click();
    ticks(1);
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
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], kProbe);
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_EQ(state.ScanTicks, 1);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);
}

TEST_F(ScanTest, FirstScanWithAnsweredStartUpReadSendsHandshakeAtOnce)
{
    afterStartUp(true);
    scan.Command4_Click();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], kProbe);
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);

    handshakeAnswered();
    ticks(3);
    EXPECT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.closes, 0);
    EXPECT_EQ(link.settings(), QStringLiteral("4800,N,8,1"));
    EXPECT_EQ(state.ScanTicks, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ScanTest, FirstScanWithoutDeviceGivesUpOnFortyThirdTick)
{
    afterStartUp(false);
    scan.Command4_Click();
    ticks(42);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(state.ScanTicks, 41);
    EXPECT_EQ(probes(), 41);
    EXPECT_EQ(link.opens.size(), 41u);

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
}

TEST_F(ScanTest, CountedTicksBlinkRedFirstAndLockTheButtons)
{
    midScan();
    controls.buttons = true;
    scan.Command4_Click();
    ticks(4);
    EXPECT_EQ(controls.lamps,
              (std::vector<Lamp>{Lamp::Red, Lamp::Yellow, Lamp::Red, Lamp::Yellow}));
    EXPECT_FALSE(controls.buttons);
}

TEST_F(ScanTest, SettingsStepThroughEveryEntryFromStartUpPositionAndWrap)
{
    midScan();
    scan.Command4_Click();
    ticks(41);
    ASSERT_EQ(link.opens.size(), 41u);
    for (std::size_t i = 0; i < 41; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(link.opens[i].settings, QString::fromLatin1(kOrder[(7 + i) % 21]));
        EXPECT_EQ(link.opens[i].port, 1);
    }
    EXPECT_EQ(probes(), 41);

    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    // The port stays at the last settings tried.
    EXPECT_TRUE(link.portOpen());
    EXPECT_EQ(link.settings(), QStringLiteral("2400,E,8,1"));
}

TEST_F(ScanTest, FirstFiveStepsFromFourThousandEightHundredNone)
{
    midScan();
    scan.Command4_Click();
    ticks(5);
    ASSERT_EQ(link.opens.size(), 5u);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("4800,O,8,1"));
    EXPECT_EQ(link.opens[1].settings, QStringLiteral("4800,E,8,1"));
    EXPECT_EQ(link.opens[2].settings, QStringLiteral("9600,N,8,1"));
    EXPECT_EQ(link.opens[3].settings, QStringLiteral("9600,O,8,1"));
    EXPECT_EQ(link.opens[4].settings, QStringLiteral("9600,E,8,1"));
}

TEST_F(ScanTest, LastEntryIsFollowedByFirst)
{
    portAt("57600,E,8,1");
    midScan();
    scan.Command4_Click();
    ticks(1);
    ASSERT_EQ(link.opens.size(), 1u);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("1200,N,8,1"));
}

TEST_F(ScanTest, LowerCaseParityReadBackIsRecognised)
{
    portAt("4800,n,8,1");
    midScan();
    scan.Command4_Click();
    ticks(1);
    ASSERT_EQ(link.opens.size(), 1u);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("4800,O,8,1"));
}

TEST_F(ScanTest, SettingsInNoPositionReopenUnchangedAndStillProbe)
{
    portAt("115200,N,8,1");
    controls.lists[3] = 2; // COM3 picked, but the port is not moved either
    midScan();
    scan.Command4_Click();
    ticks(1);
    EXPECT_EQ(link.closes, 1);
    ASSERT_EQ(link.opens.size(), 1u);
    EXPECT_EQ(link.opens[0].port, 1);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("115200,N,8,1"));
    EXPECT_EQ(link.inputLen, -1);
    EXPECT_EQ(link.written, QList<QByteArray>{kProbe});
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
}

TEST_F(ScanTest, SteppedPortIsTheOnePickedInThePortList)
{
    controls.lists[3] = 2; // COM3
    midScan();
    scan.Command4_Click();
    ticks(1);
    ASSERT_EQ(link.opens.size(), 1u);
    EXPECT_EQ(link.opens[0].port, 3);
    EXPECT_EQ(link.opens[0].settings, QStringLiteral("4800,O,8,1"));
}

TEST_F(ScanTest, DeviceAtNinetySixHundredEvenIsFoundAfterFiveSteps)
{
    midScan();
    scan.Command4_Click();
    // The transceiver answers every probe that reaches it at its settings.
    for (int i = 0; i < 50 && timer1.isEnabled(); ++i) {
        const auto sent = link.written.size();
        ticks(1);
        if (link.written.size() == sent || link.settings() != QStringLiteral("9600,E,8,1"))
            continue;
        if (state.OpTag == protocol::Operation::Handshake)
            handshakeAnswered();
        else
            answered();
    }
    EXPECT_FALSE(timer1.isEnabled());
    EXPECT_EQ(link.opens.size(), 5u);
    EXPECT_EQ(link.settings(), QStringLiteral("9600,E,8,1"));
    EXPECT_EQ(probes(), 6);
    EXPECT_EQ(state.ScanTicks, 5);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(controls.lamps, (std::vector<Lamp>{Lamp::Red, Lamp::Yellow, Lamp::Red,
                                                 Lamp::Yellow, Lamp::Red, Lamp::Green,
                                                 Lamp::Green}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ScanTest, SecondClickRestartsCountAndKeepsLampPhase)
{
    midScan();
    scan.Command4_Click();
    ticks(3); // red, yellow, red
    scan.Command4_Click();
    EXPECT_TRUE(timer1.isEnabled());
    EXPECT_EQ(state.ScanTicks, 0);

    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Yellow);
    EXPECT_EQ(state.ScanTicks, 1);

    ticks(40);
    EXPECT_TRUE(boxes.shown.empty());
    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    EXPECT_EQ(probes(), 3 + 41);
}

TEST_F(ScanTest, PortSelectionMidScanMakesNextTickUncountedThenStepsOn)
{
    midScan();
    scan.Command4_Click();
    ticks(3); // now at "9600,N,8,1", lamp phase on
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

    ticks(37);
    EXPECT_TRUE(boxes.shown.empty());
    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
}

TEST_F(ScanTest, FailureReportMidScanMakesNextTickUncounted)
{
    midScan();
    scan.Command4_Click();
    ticks(2);
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    timer2.fire();
    ASSERT_EQ(boxes.shown.size(), 1u);

    const auto sent = link.written.size();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(link.written.size(), sent + 1);
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_EQ(state.ScanTicks, 2);
}

TEST_F(ScanTest, GivingUpRightAfterAnUncountedTickLeavesButtonsEnabled)
{
    midScan();
    scan.Command4_Click();
    ticks(41);
    answered();
    ticks(1); // uncounted: green, buttons enabled, handshake probe
    ASSERT_TRUE(controls.buttons);
    const auto sent = link.written.size();

    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(controls.lamp(), Lamp::Red);
    EXPECT_EQ(link.written.size(), sent);
    EXPECT_FALSE(timer1.isEnabled());
}

TEST_F(ScanTest, FailedReopenLeavesPortClosedAndScanRunsOutSilently)
{
    midScan();
    link.failingPorts = {1};
    scan.Command4_Click();
    ticks(1);
    EXPECT_FALSE(link.portOpen());
    EXPECT_EQ(link.closes, 1);
    EXPECT_TRUE(link.opens.empty());
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);
    EXPECT_EQ(state.ScanTicks, 1);
    EXPECT_TRUE(boxes.shown.empty());

    ticks(40);
    EXPECT_EQ(link.closes, 1);
    EXPECT_TRUE(link.opens.empty());
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(controls.lamps.size(), 41u);

    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    EXPECT_FALSE(timer1.isEnabled());
}

TEST_F(ScanTest, FailedReopenKeepsSendReadyAsItWas)
{
    midScan();
    state.SendReady = true; // an activate request has just gone out
    link.failingPorts = {1};
    scan.Command4_Click();
    ticks(1);
    EXPECT_TRUE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_TRUE(link.written.isEmpty());

    // With the port closed the next tick tries to probe and cannot.
    ticks(1);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_TRUE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_EQ(link.closes, 1);
}

TEST_F(ScanTest, ClosedPortSkipsReopenAndProbeFailsSilently)
{
    // Start-up could not open the port, so SendReady is still set.
    link.setPortOpen(false);
    state.ReplyPending = true;
    state.SendReady = true;
    scan.Command4_Click();
    ticks(1);
    EXPECT_TRUE(link.opens.empty());
    EXPECT_EQ(link.closes, 1); // the one above
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_TRUE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_EQ(controls.lamp(), Lamp::Red);
    EXPECT_FALSE(controls.buttons);

    ticks(40);
    EXPECT_TRUE(boxes.shown.empty());
    ticks(1);
    EXPECT_EQ(boxes.texts(), QStringList{kNoDevice});
    EXPECT_TRUE(link.opens.empty());
}

TEST_F(ScanTest, ClosedPortUncountedTickIsGreenAndTriesHandshake)
{
    link.setPortOpen(false);
    state.ReplyPending = false;
    state.SendReady = true;
    scan.Command4_Click();
    ticks(1);
    EXPECT_EQ(controls.lamp(), Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(state.SendReady);
    EXPECT_TRUE(state.ReplyPending);
}

TEST_F(ScanTest, ClosedPortWithLinkBusySendsNothingAndLeavesTagAlone)
{
    link.setPortOpen(false);
    midScan();
    state.OpTag = protocol::Operation::Write;
    scan.Command4_Click();
    ticks(1);
    EXPECT_EQ(state.OpTag, protocol::Operation::Write);
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_FALSE(state.SendReady);
    EXPECT_EQ(state.ScanTicks, 1);
}
