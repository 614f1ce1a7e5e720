#include "detect/detectionscan.h"
#include "detect/failurereport.h"
#include "fakes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The window as start-up leaves it on a free port: open at 4800,N,8,1, the
// read request sent and not yet answered, the last port pick having ended
// the exchange.
class ScanTest : public ::testing::Test, protected FakeForm
{
protected:
    void SetUp() override
    {
        link.settingsText = QStringLiteral("4800,N,8,1");
        controls.lists = {0, 0, 0, 0};
        ASSERT_EQ(link.setPortOpen(true), CommError::None);
        link.opens.clear();
        timer1.onTimer = [this] { scan.Timer1_Timer(); };
        timer2.onTimer = [this] { report.Timer2_Timer(); };
    }

    // Fires n ticks and returns the lamp each left.
    std::vector<Lamp> tick(int n)
    {
        std::vector<Lamp> lamps;
        for (int i = 0; i < n; ++i) {
            timer1.fire();
            lamps.push_back(controls.lamp);
        }
        return lamps;
    }

    DetectionScan scan{form};
    FailureReport report{form};
};

} // namespace

TEST_F(ScanTest, UnansweredScanStepsThroughEverySettingOnceOrTwiceThenGivesUpOnce)
{
    scan.Command4_Click();
    EXPECT_EQ(tick(1), std::vector<Lamp>{Lamp::Green}); // the start-up pick ended an exchange
    EXPECT_TRUE(controls.buttons);
    EXPECT_TRUE(link.written.isEmpty()); // the start-up read is still out

    const std::vector<Lamp> lamps = tick(42);
    for (size_t i = 0; i + 1 < 41; ++i)
        EXPECT_EQ(lamps[i], i % 2 == 0 ? Lamp::Red : Lamp::Yellow) << "tick " << i + 2;
    EXPECT_EQ(lamps.back(), Lamp::Red);
    EXPECT_FALSE(controls.buttons);
    EXPECT_EQ(boxes.shown, QStringList{"检测不到设备！"});
    EXPECT_FALSE(timer1.enabled);

    // Counted ticks 1 to 41 each reopened at the next setting and probed.
    ASSERT_EQ(link.opens.size(), 41);
    EXPECT_EQ(link.written, QStringList(41, QStringLiteral("F0 CC 0D")));
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_EQ(link.opens[4], QStringLiteral("COM1 9600,E,8,1"));
    EXPECT_EQ(link.opens[14], QStringLiteral("COM1 1200,N,8,1")); // wrapped round
    EXPECT_EQ(std::set<QString>(link.opens.begin(), link.opens.end()).size(), 21u);

    tick(3);
    EXPECT_EQ(link.opens.size(), 41);
    EXPECT_EQ(boxes.shown.size(), 1);
}

TEST_F(ScanTest, AnsweredStartUpReadIsConfirmedByAHandshakeAtOnce)
{
    state.ReplyPending = false;
    state.SendReady = true;
    scan.Command4_Click();
    tick(1);
    EXPECT_EQ(controls.lamp, Lamp::Green);
    EXPECT_TRUE(controls.buttons);
    EXPECT_EQ(link.written, QStringList{"F0 CC 0D"});
    EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
    EXPECT_TRUE(link.opens.isEmpty());
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_FALSE(state.SendReady);
}

TEST_F(ScanTest, ClickRestartsTheCountButNotTheLampPhaseAndGivingUpKeepsTheButtons)
{
    state.ReplyPending = true;
    scan.Command4_Click();
    EXPECT_EQ(tick(3), (std::vector<Lamp>{Lamp::Red, Lamp::Yellow, Lamp::Red}));
    scan.Command4_Click();
    EXPECT_EQ(tick(41).front(), Lamp::Yellow);
    state.ReplyPending = false; // a failure report or port pick ends the exchange
    tick(1);
    EXPECT_TRUE(boxes.shown.isEmpty());
    tick(1);
    EXPECT_EQ(boxes.shown, QStringList{"检测不到设备！"});
    EXPECT_TRUE(controls.buttons);
}

TEST_F(ScanTest, SettingsReadBackAreMatchedInUpperCaseAndUnknownOnesKept)
{
    const struct {
        const char *readBack, *reopened;
    } cases[] = {{"4800,n,8,1", "COM3 4800,O,8,1"}, {"600,N,8,1", "COM3 600,N,8,1"}};
    for (const auto &c : cases) {
        link.opens.clear();
        link.settingsText = QString::fromUtf8(c.readBack);
        controls.lists[3] = 2;
        state.ReplyPending = true;
        scan.Command4_Click();
        tick(1);
        EXPECT_EQ(link.opens, QStringList{c.reopened});
        EXPECT_EQ(link.written.size(), &c - cases + 1);
    }
}

TEST_F(ScanTest, PortThatWillNotOpenIsLeftClosedAndTheScanRunsOut)
{
    // Start-up never opened it (SendReady still set): each probe fails.
    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    state.ReplyPending = true;
    state.SendReady = true;
    scan.Command4_Click();
    tick(42);
    EXPECT_EQ(boxes.shown, QStringList{"检测不到设备！"});
    EXPECT_TRUE(link.opens.isEmpty());
    EXPECT_TRUE(state.SendReady);

    // Or another program takes it at the reopen.
    ASSERT_EQ(link.setPortOpen(true), CommError::None);
    link.failingPorts = {1};
    state.SendReady = false;
    scan.Command4_Click();
    tick(42);
    EXPECT_FALSE(link.portOpen());
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_EQ(boxes.shown.size(), 2);
}

TEST_F(ScanTest, FailureReportEndsTheExchangeBeforeItsBoxAndNamesTheOperationAtTheTick)
{
    state.OpName = QStringLiteral("写入");
    timer2.setEnabled(true);
    state.OpName = QStringLiteral("读取"); // a read rejected before the tick
    boxes.whileOpen = [this] {
        EXPECT_FALSE(state.ReplyPending);
        EXPECT_TRUE(state.SendReady);
        EXPECT_TRUE(timer2.enabled);
        timer2.fire(); // falls due again while the box is open
    };
    state.ReplyPending = true;
    timer2.fire();
    EXPECT_EQ(boxes.shown, QStringList{"Ostrevi电台参数设置程序|读取不成功!"});
    EXPECT_FALSE(timer2.enabled);
}
