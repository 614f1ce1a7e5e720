#include "requests.h"

#include "fakes.h"
#include "formcontext.h"
#include "formstate.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> values)
{
    QByteArray b;
    for (unsigned char v : values)
        b.append(static_cast<char>(v));
    return b;
}

const QString kRangeMessage = QStringLiteral("频点的取值应在100000--999999之间！");

} // namespace

class RequestsTest : public ::testing::Test
{
protected:
    RequestsTest()
    {
        link.setSettings(QStringLiteral("4800,N,8,1"));
        link.setPortOpen(true);
        controls.lists = {0, 0, 0, 0};
    }

    void entered(const char *text1, const char *text2)
    {
        controls.texts[0] = QString::fromUtf8(text1);
        controls.texts[1] = QString::fromUtf8(text2);
    }

    FormState state;
    FakeControls controls;
    FakeLink link;
    FakeTimer timer1;
    FakeTimer timer2;
    FakeMessageBox boxes;
    FormContext form{state, controls, link, timer1, timer2, boxes};
    Requests requests{form};
};

TEST_F(RequestsTest, ReadQueuesReadRequestAndLeavesLinkBusy)
{
    state.SendReady = true;
    requests.Command1_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xCC, 0x0D}));
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RequestsTest, TwoReadsWithoutReplyQueueTwoRequests)
{
    requests.Command1_Click();
    requests.Command1_Click();
    ASSERT_EQ(link.written.size(), 2);
    EXPECT_EQ(link.written[1], bytes({0xF0, 0xCC, 0x0D}));
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_FALSE(state.SendReady);
}

TEST_F(RequestsTest, ActivateQueuesActivateRequestAndFreesLink)
{
    requests.Command3_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0x33, 0x0D}));
    EXPECT_EQ(state.OpTag, protocol::Operation::Activate);
    EXPECT_TRUE(state.SendReady);
}

TEST_F(RequestsTest, RequestsLeaveReplyStateAndTimersAlone)
{
    state.ReplyPending = true;
    state.OpName = QStringLiteral("写入");
    entered("100000", "100000");
    requests.Command1_Click();
    requests.Command2_Click();
    requests.Command3_Click();
    EXPECT_TRUE(state.ReplyPending);
    EXPECT_EQ(state.OpName, QStringLiteral("写入"));
    EXPECT_FALSE(timer1.isEnabled());
    EXPECT_FALSE(timer2.isEnabled());
}

TEST_F(RequestsTest, WriteSendsFrequenciesAndSettingsByte)
{
    state.SendReady = true;
    entered("100000", "999999");
    controls.lists = {3, 4, 1, 0};
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F,
                                      0x00, 0xA3, 0x0D}));
    EXPECT_EQ(state.OpTag, protocol::Operation::Write);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RequestsTest, WriteWithFirstListItemsSendsZeroSettingsByte)
{
    entered("100000", "100000");
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0xA0, 0x86, 0x01,
                                      0x00, 0x00, 0x0D}));
}

TEST_F(RequestsTest, WriteWithNothingSelectedSendsZeroSettingsByte)
{
    entered("100000", "100000");
    controls.lists = {-1, -1, -1, 0};
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0].at(10), '\x00');
    EXPECT_EQ(link.written[0].size(), 12);
}

TEST_F(RequestsTest, WriteTakesNineDigitsAboveTheMessagesRange)
{
    entered("999999999", "1000000");
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xAA, 0xFF, 0xC9, 0x9A, 0x3B, 0x40, 0x42, 0x0F,
                                      0x00, 0x00, 0x0D}));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RequestsTest, WriteReadsOnlyTheLeadingDigits)
{
    entered("100000abc", "123456x7");
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x40, 0xE2, 0x01,
                                      0x00, 0x00, 0x0D}));
}

TEST_F(RequestsTest, WriteSaturatesDigitRunsTooLongForTheField)
{
    // 2^32 would wrap to 0 and 20 nines to some arbitrary value.
    entered("4294967296", "99999999999999999999");
    requests.Command2_Click();
    ASSERT_EQ(link.written.size(), 1);
    EXPECT_EQ(link.written[0], bytes({0xF0, 0xAA, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                      0xFF, 0x00, 0x0D}));
}

class WriteRefusedTest : public RequestsTest
{
protected:
    void expectRefused()
    {
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, kRangeMessage);
        EXPECT_EQ(boxes.shown[0].title, QString());
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::None);
        EXPECT_TRUE(link.written.isEmpty());
        EXPECT_EQ(state.OpTag, protocol::Operation::Handshake);
        EXPECT_TRUE(state.SendReady);
    }

    void SetUp() override
    {
        state.OpTag = protocol::Operation::Handshake;
        state.SendReady = true;
    }
};

TEST_F(WriteRefusedTest, TransmitJustBelowLowerBound)
{
    entered("99999", "100000");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, ReceiveJustBelowLowerBound)
{
    entered("100000", "99999");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, BothBelowGiveOneMessage)
{
    entered("5", "7");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, EmptyTransmitCountsAsZero)
{
    entered("", "100000");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, PastedTextReadsOnlyLeadingDigits)
{
    entered("12a45", "100000");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, TextNotStartingWithDigitCountsAsZero)
{
    entered("100000", "a100000");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, FullWidthDigitsAreNotDigits)
{
    entered("１００００００", "100000");
    requests.Command2_Click();
    expectRefused();
}

TEST_F(WriteRefusedTest, RefusalLeavesOpenPortUntouched)
{
    entered("99999", "99999");
    requests.Command2_Click();
    EXPECT_TRUE(link.portOpen());
    EXPECT_EQ(link.closes, 0);
}

class ClosedPortTest : public RequestsTest
{
protected:
    void SetUp() override
    {
        link.setPortOpen(false);
        state.SendReady = true;
        state.OpTag = protocol::Operation::Handshake;
        entered("100000", "100000");
    }
};

TEST_F(ClosedPortTest, ReadEndsSilentlyWithTagSetAndLinkBusy)
{
    requests.Command1_Click();
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_FALSE(state.SendReady);
}

TEST_F(ClosedPortTest, WriteEndsSilentlyWithTagSetAndLinkBusy)
{
    requests.Command2_Click();
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(state.OpTag, protocol::Operation::Write);
    EXPECT_FALSE(state.SendReady);
}

TEST_F(ClosedPortTest, ActivateEndsSilentlyAndDoesNotFreeTheLink)
{
    requests.Command3_Click();
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(state.OpTag, protocol::Operation::Activate);
    EXPECT_FALSE(state.SendReady);
}

TEST(FrequencyValue, LeadingDigitsAsNumber)
{
    EXPECT_EQ(frequencyValue(QStringLiteral("100000")), 100000u);
    EXPECT_EQ(frequencyValue(QStringLiteral("0000123")), 123u);
    EXPECT_EQ(frequencyValue(QStringLiteral("12a45")), 12u);
    EXPECT_EQ(frequencyValue(QString()), 0u);
    EXPECT_EQ(frequencyValue(QStringLiteral(" 100000")), 0u);
    EXPECT_EQ(frequencyValue(QStringLiteral("-100000")), 0u);
}

TEST(FrequencyValue, SaturatesAtFieldMaximum)
{
    EXPECT_EQ(frequencyValue(QStringLiteral("4294967295")), 4294967295u);
    EXPECT_EQ(frequencyValue(QStringLiteral("4294967296")), 4294967295u);
    EXPECT_EQ(frequencyValue(QStringLiteral("42949672950")), 4294967295u);
    EXPECT_EQ(frequencyValue(QString(500, QLatin1Char('9'))), 4294967295u);
}
