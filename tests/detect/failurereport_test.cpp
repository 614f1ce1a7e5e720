#include "failurereport.h"

#include "fakes.h"
#include "formcontext.h"
#include "formstate.h"

#include <gtest/gtest.h>

class FailureReportTest : public ::testing::Test
{
protected:
    FailureReportTest()
    {
        timer2.onTimer = [this] { report.Timer2_Timer(); };
    }

    // What the receive handler does on a wrong acknowledgement.
    void rejected(const char *op)
    {
        state.OpName = QString::fromUtf8(op);
        timer2.setEnabled(true);
    }

    FormState state;
    FakeControls controls;
    FakeLink link;
    FakeTimer timer1;
    FakeTimer timer2;
    FakeMessageBox boxes;
    FormContext form{state, controls, link, timer1, timer2, boxes};
    FailureReport report{form};
};

TEST_F(FailureReportTest, RejectedWriteIsReportedWithApplicationTitle)
{
    state.ReplyPending = true;
    state.SendReady = false;
    rejected("写入");
    timer2.fire();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("写入不成功!"));
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("Ostrevi电台参数设置程序"));
    EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
    EXPECT_FALSE(timer2.isEnabled());
    EXPECT_FALSE(state.ReplyPending);
    EXPECT_TRUE(state.SendReady);
}

TEST_F(FailureReportTest, RejectedActivationIsReported)
{
    rejected("激活");
    timer2.fire();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("激活不成功!")});
}

TEST_F(FailureReportTest, TextEndsInAsciiExclamationMark)
{
    rejected("写入");
    timer2.fire();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.back(), QChar(0x21));
}

TEST_F(FailureReportTest, NameIsTakenWhenTheTickRuns)
{
    rejected("写入");
    state.OpName = QStringLiteral("读取"); // a read rejected in the meantime
    timer2.fire();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("读取不成功!")});
}

TEST_F(FailureReportTest, ExchangeIsEndedBeforeTheBoxOpensAndTimerStopsAfter)
{
    state.ReplyPending = true;
    state.SendReady = false;
    bool endedWhileOpen = false;
    bool timerOnWhileOpen = false;
    boxes.whileOpen = [&] {
        endedWhileOpen = !state.ReplyPending && state.SendReady;
        timerOnWhileOpen = timer2.isEnabled();
    };
    rejected("写入");
    timer2.fire();
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_TRUE(timerOnWhileOpen);
    EXPECT_FALSE(timer2.isEnabled());
}

TEST_F(FailureReportTest, TickFallingDueWhileBoxIsOpenDoesNotReportAgain)
{
    boxes.whileOpen = [&] { timer2.fire(); };
    rejected("写入");
    timer2.fire();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("写入不成功!")});
    EXPECT_FALSE(timer2.isEnabled());
}

TEST_F(FailureReportTest, TwoRejectionsBeforeTheTickGiveOneReport)
{
    rejected("写入");
    rejected("写入");
    timer2.fire();
    timer2.fire();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("写入不成功!")});
}

TEST_F(FailureReportTest, LaterRejectionIsReportedAgain)
{
    rejected("写入");
    timer2.fire();
    rejected("激活");
    timer2.fire();
    EXPECT_EQ(boxes.texts(),
              (QStringList{QStringLiteral("写入不成功!"), QStringLiteral("激活不成功!")}));
}
