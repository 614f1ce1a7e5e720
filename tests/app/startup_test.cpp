#include "windowfixture.h"

#include <QLabel>

using StartupTest = WindowTest;

TEST_F(StartupTest, OpensPortOneThreeTimesAndSendsOneReadAt4800)
{
    form->Form_Load();

    ASSERT_EQ(link_->opens.size(), 3u);
    EXPECT_EQ(link_->opens[0].port, 1);
    EXPECT_EQ(link_->opens[0].settings, QStringLiteral("9600,N,8,1"));
    EXPECT_EQ(link_->opens[1].settings, QStringLiteral("9600,N,8,1"));
    EXPECT_EQ(link_->opens[2].port, 1);
    EXPECT_EQ(link_->opens[2].settings, QStringLiteral("4800,N,8,1"));
    EXPECT_TRUE(link_->portOpen());
    EXPECT_TRUE(link_->dtr);
    EXPECT_TRUE(link_->rts);
    EXPECT_EQ(link_->inputLen, 0);
    ASSERT_EQ(link_->written.size(), 1);
    EXPECT_EQ(link_->written[0], hex("f0cc0d"));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(StartupTest, LeavesListsAtFirstEntriesRedLampAndRequestButtonsGrey)
{
    form->Form_Load();

    EXPECT_EQ(child<QComboBox>("Combo4")->currentText(), QStringLiteral("COM1"));
    EXPECT_EQ(child<QComboBox>("Combo1")->currentText(), QStringLiteral("1200"));
    EXPECT_EQ(child<QComboBox>("Combo2")->currentText(), QStringLiteral("1200"));
    EXPECT_EQ(child<QComboBox>("Combo3")->currentText(), QStringLiteral("无"));
    EXPECT_EQ(form->lamp(), Lamp::Red);
    EXPECT_FALSE(child<QLabel>("Image1")->pixmap().isNull());
    for (const char *name : {"Command1", "Command2", "Command3"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    for (const char *name : {"Command4", "Command5", "Command6"})
        EXPECT_TRUE(child<QPushButton>(name)->isEnabled()) << name;

    // The read went out: waiting for its reply, the list reopen cleared the
    // pending flag.
    EXPECT_FALSE(form->state().SendReady);
    EXPECT_FALSE(form->state().ReplyPending);
    EXPECT_EQ(form->state().OpTag, protocol::Operation::Read);
}

TEST_F(StartupTest, PortInUseAtStartUpNamesThePortAndSendsNothing)
{
    link_->failingPorts = {1};
    form->Form_Load();

    ASSERT_EQ(messages->shown.size(), 3u);
    // The two list selections reopen the port first.
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("此串口已被占用，请换另一串口！"));
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(messages->shown[1].text, QStringLiteral("此串口已被占用，请换另一串口！"));
    EXPECT_EQ(messages->shown[2].text, QStringLiteral("COM1已被占用，换其它端口号再试一次。"));
    EXPECT_EQ(messages->shown[2].title, QStringLiteral("Ostrevi电台参数设置程序"));
    for (const auto &m : messages->shown)
        EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_TRUE(link_->written.isEmpty());
    EXPECT_FALSE(link_->portOpen());
    EXPECT_EQ(form->lamp(), Lamp::Red);
    // Neither selection succeeded, so start-up's own values stand.
    EXPECT_TRUE(form->state().SendReady);
    EXPECT_TRUE(form->state().ReplyPending);
}

TEST_F(StartupTest, PickingAPortReopensItWithTheSameSettingsEvenTheSameOne)
{
    form->Form_Load();
    link_->written.clear();
    const size_t opens = link_->opens.size();
    auto *combo = child<QComboBox>("Combo4");
    emit combo->activated(0);
    EXPECT_EQ(link_->opens.size(), opens + 1);
    EXPECT_EQ(link_->closes, int(opens)); // closed before each reopen

    form->state().SendReady = false;
    form->state().ReplyPending = true;
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(link_->opens.back().port, 3);
    EXPECT_EQ(link_->opens.back().settings, QStringLiteral("4800,N,8,1"));
    EXPECT_TRUE(link_->portOpen());
    EXPECT_TRUE(form->state().SendReady);
    EXPECT_FALSE(form->state().ReplyPending);
    EXPECT_TRUE(link_->written.isEmpty());
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(StartupTest, APortThatWillNotOpenLeavesEveryPortClosedUntilAGoodPick)
{
    form->Form_Load();
    link_->failingPorts = {5};
    form->state().SendReady = false;
    form->state().ReplyPending = true;

    form->setListIndex(ListControl::Combo4, 4);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("此串口已被占用，请换另一串口！"));
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_FALSE(link_->portOpen());
    EXPECT_FALSE(form->state().SendReady);
    EXPECT_TRUE(form->state().ReplyPending);

    form->setListIndex(ListControl::Combo4, 1);
    EXPECT_TRUE(link_->portOpen());
    EXPECT_EQ(link_->opens.back().port, 2);
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(StartupTest, ChannelRateLeavesThePortAloneRateAndParityReopenIt)
{
    form->Form_Load();
    const size_t opens = link_->opens.size();

    form->setListIndex(ListControl::Combo2, 5);
    EXPECT_EQ(link_->opens.size(), opens);
    form->setListIndex(ListControl::Combo1, 3);
    EXPECT_EQ(link_->opens.size(), opens + 1);
    form->setListIndex(ListControl::Combo3, 2);
    EXPECT_EQ(link_->opens.size(), opens + 2);
    EXPECT_EQ(link_->written.size(), 1); // only start-up's read
}

TEST_F(StartupTest, RequestsOnAClosedPortEndSilently)
{
    link_->failingPorts = {1};
    form->Form_Load();
    messages->shown.clear();

    form->Command1_Click();
    EXPECT_EQ(form->state().OpTag, protocol::Operation::Read);
    EXPECT_FALSE(form->state().SendReady);
    form->Command3_Click();
    EXPECT_EQ(form->state().OpTag, protocol::Operation::Activate);
    EXPECT_FALSE(form->state().SendReady);
    EXPECT_TRUE(link_->written.isEmpty());
    EXPECT_TRUE(messages->shown.empty());
}

class PortTooltipTest : public WindowTest
{
    void beforeCreate(Form1Seams &seams) override
    {
        seams.portDevice = [](int n) {
            return n == 2 ? std::optional<QString>(QStringLiteral("/dev/ttyUSB0")) : std::nullopt;
        };
    }
};

TEST_F(PortTooltipTest, PortTooltipsShowTheDeviceOrItsAbsence)
{
    auto *combo = child<QComboBox>("Combo4");
    EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("COM2 → /dev/ttyUSB0"));
    EXPECT_EQ(combo->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("COM1：没有对应的串口设备"));
}
