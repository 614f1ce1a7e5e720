#include "windowfixture.h"

namespace {

const std::initializer_list<int> kReply = {0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00,
                                           0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};

} // namespace

class ReceiveTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form->Form_Load(); // sends the start-up read
        link_->written.clear();
    }

    QStringList currentValues() const
    {
        return {boxText("Text6"), boxText("Text7"), boxText("Text3"), boxText("Text4"),
                boxText("Text5")};
    }
};

TEST_F(ReceiveTest, ReadReplyInPiecesFillsTheBoxesAfterTheBoxCloses)
{
    QStringList seenWhileOpen;
    messages->whileOpen = [&] { seenWhileOpen = currentValues(); };

    link_->deliver(bytes({0xF0, 0xAA, 0xA0}));
    link_->deliver(bytes({0x86, 0x01, 0x00, 0x3F, 0x42}));
    EXPECT_TRUE(messages->shown.empty());
    link_->deliver(bytes({0x0F, 0x00, 0xA3, 0x0D}));

    ASSERT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(seenWhileOpen, (QStringList{"", "", "", "", ""}));
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
    EXPECT_TRUE(form->state().SendReady);
    EXPECT_FALSE(form->state().ReplyPending);
    // The settings panel is not touched by a read.
    EXPECT_EQ(boxText("Text1"), QStringLiteral("100000"));
    EXPECT_EQ(child<QComboBox>("Combo1")->currentIndex(), 0);
}

TEST_F(ReceiveTest, AReceptionWhileReadDoneIsShownDoesNotSpoilTheDecodedFrame)
{
    // A handshake answer lands while "读取完毕！" is still open: it starts a
    // new buffer, but the boxes must show the frame that was accepted.
    messages->whileOpen = [&] {
        form->state().OpTag = protocol::Operation::Handshake;
        link_->deliver(bytes({0xF0, 0xAA, 0x01, 0x02}));
    };
    link_->deliver(bytes(kReply));

    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
}

TEST_F(ReceiveTest, HandshakeAnsweredWhileReadDoneIsOpenStopsTheScan)
{
    timer1->setEnabled(true);
    messages->whileOpen = [&] {
        form->state().OpTag = protocol::Operation::Handshake;
        link_->deliver(bytes(kReply));
    };
    link_->deliver(bytes(kReply));

    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_FALSE(timer1->isEnabled());
    EXPECT_EQ(form->lamp(), Lamp::Green);
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
}

TEST_F(ReceiveTest, SettingsByte30LeavesParityAsItWas)
{
    link_->deliver(bytes(kReply));
    form->Command1_Click();
    link_->deliver(bytes({0xF0, 0xAA, 0, 0, 0, 0, 0, 0, 0, 0, 0x30, 0x55}));
    EXPECT_EQ(currentValues(), (QStringList{"0", "0", "1200", "1200", "奇"}));
}

TEST_F(ReceiveTest, GoodAcknowledgementsReportSuccess)
{
    form->state().OpTag = protocol::Operation::Write;
    link_->deliver(bytes({0xF0}));
    link_->deliver(bytes({0xEE}));
    EXPECT_TRUE(messages->shown.empty());
    link_->deliver(bytes({0x0D}));
    form->state().OpTag = protocol::Operation::Activate;
    link_->deliver(bytes({0xF0, 0xBB, 0x3F}));

    EXPECT_EQ(messages->texts(), (QStringList{"写入成功！", "激活成功！"}));
    EXPECT_FALSE(timer2->isEnabled());
}

TEST_F(ReceiveTest, RejectedWriteIsReportedByTheFailureTimerWithTheAppTitle)
{
    form->state().OpTag = protocol::Operation::Write;
    link_->deliver(bytes({0xF0, 0xEE, 0x0A}));

    EXPECT_TRUE(messages->shown.empty());
    EXPECT_TRUE(timer2->isEnabled());
    timer2->fire();

    ASSERT_EQ(messages->texts(), QStringList{"写入不成功!"});
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Ostrevi电台参数设置程序"));
    EXPECT_FALSE(timer2->isEnabled());
    EXPECT_TRUE(form->state().SendReady);
    EXPECT_FALSE(form->state().ReplyPending);
}

TEST_F(ReceiveTest, RejectedWriteThenRejectedReadGivesOneReportNamingTheRead)
{
    form->state().OpTag = protocol::Operation::Write;
    link_->deliver(bytes({0xF0, 0xEE, 0x00}));
    form->state().OpTag = protocol::Operation::Read;
    link_->deliver(bytes({0xF0, 0xCC, 0x0D, 0xF0, 0xAA, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(messages->shown.empty()); // a rejected read is silent

    timer2->fire();
    timer2->fire(); // off after its report
    EXPECT_EQ(messages->texts(), QStringList{"读取不成功!"});
}

TEST_F(ReceiveTest, TwoRejectionsGiveOneReport)
{
    form->state().OpTag = protocol::Operation::Activate;
    link_->deliver(bytes({0xF0, 0xBB, 0x00}));
    link_->deliver(bytes({0xF0, 0xBB, 0x01}));
    // A tick falling due while its own report is open opens no second box.
    messages->whileOpen = [&] { timer2->fire(); };
    timer2->fire();
    EXPECT_EQ(messages->texts(), QStringList{"激活不成功!"});
}

TEST_F(ReceiveTest, GarbageAndOverlongReceptionsAreDropped)
{
    link_->deliver(bytes({0x00, 0xF0, 0xAA}));
    link_->deliver(QByteArray(16, char(0xF0)));
    EXPECT_EQ(form->state().rx.RxCount, 0);
    link_->deliver(bytes(kReply));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
}
