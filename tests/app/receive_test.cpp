#include "windowfixture.h"

class ReceiveTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        form->Form_Load(); // sends the start-up read
        link_->written.clear();
    }

    const QByteArray kReply = hex("f0aaa08601003f420f00a30d");

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

    link_->deliver(hex("f0aaa0"));
    link_->deliver(hex("8601003f42"));
    EXPECT_TRUE(messages->shown.empty());
    link_->deliver(hex("0f00a30d"));

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
        link_->deliver(hex("f0aa0102"));
    };
    link_->deliver(kReply);

    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
}

TEST_F(ReceiveTest, HandshakeAnsweredWhileReadDoneIsOpenStopsTheScan)
{
    timer1->setEnabled(true);
    messages->whileOpen = [&] {
        form->state().OpTag = protocol::Operation::Handshake;
        link_->deliver(kReply);
    };
    link_->deliver(kReply);

    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_FALSE(timer1->isEnabled());
    EXPECT_EQ(form->lamp(), Lamp::Green);
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
}

TEST_F(ReceiveTest, SettingsByte30LeavesParityAsItWas)
{
    link_->deliver(kReply);
    form->Command1_Click();
    link_->deliver(hex("f0aa00000000000000003055"));
    EXPECT_EQ(currentValues(), (QStringList{"0", "0", "1200", "1200", "奇"}));
}

TEST_F(ReceiveTest, GoodAcknowledgementsReportSuccess)
{
    form->state().OpTag = protocol::Operation::Write;
    link_->deliver(hex("f0"));
    link_->deliver(hex("ee"));
    EXPECT_TRUE(messages->shown.empty());
    link_->deliver(hex("0d"));
    form->state().OpTag = protocol::Operation::Activate;
    link_->deliver(hex("f0bb3f"));

    EXPECT_EQ(messages->texts(), (QStringList{"写入成功！", "激活成功！"}));
    EXPECT_FALSE(timer2->isEnabled());
}

TEST_F(ReceiveTest, RejectedWriteIsReportedByTheFailureTimerWithTheAppTitle)
{
    form->state().OpTag = protocol::Operation::Write;
    link_->deliver(hex("f0ee0a"));

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
    link_->deliver(hex("f0ee00"));
    form->state().OpTag = protocol::Operation::Read;
    link_->deliver(hex("f0cc0df0aa01020304050607"));
    EXPECT_TRUE(messages->shown.empty()); // a rejected read is silent

    timer2->fire();
    timer2->fire(); // off after its report
    EXPECT_EQ(messages->texts(), QStringList{"读取不成功!"});
}

TEST_F(ReceiveTest, TwoRejectionsGiveOneReport)
{
    form->state().OpTag = protocol::Operation::Activate;
    link_->deliver(hex("f0bb00"));
    link_->deliver(hex("f0bb01"));
    // A tick falling due while its own report is open opens no second box.
    messages->whileOpen = [&] { timer2->fire(); };
    timer2->fire();
    EXPECT_EQ(messages->texts(), QStringList{"激活不成功!"});
}

TEST_F(ReceiveTest, GarbageAndOverlongReceptionsAreDropped)
{
    link_->deliver(hex("00f0aa"));
    link_->deliver(QByteArray(16, char(0xF0)));
    EXPECT_EQ(form->state().rx.RxCount, 0);
    link_->deliver(kReply);
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
}
