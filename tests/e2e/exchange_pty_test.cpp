#include "e2efixture.h"
#include "ptypeer.h"

#include <QPushButton>

class ExchangeOverPty : public E2ETest
{
protected:
    void SetUp() override
    {
        E2ETest::SetUp();
        ASSERT_TRUE(peer.isValid());
        mapPort(1, peer.devicePath());
        createWindow();
        form->Form_Load();
        ASSERT_EQ(peer.read(2000), kRead);
        form->setRequestButtonsEnabled(true); // as detection would
    }

    void click(const char *button) { child<QPushButton>(button)->click(); }

    PtyPeer peer;
    const QByteArray kRead = QByteArray::fromHex("F0CC0D");
};

TEST_F(ExchangeOverPty, ReadAnsweredInThreePiecesFillsTheCurrentValues)
{
    click("Command1");
    ASSERT_EQ(peer.read(1000), kRead);
    for (const char *piece : {"F0AA4042", "0F00A08601", "00C30D"}) {
        peer.write(QByteArray::fromHex(piece));
        runFor(30);
    }
    ASSERT_TRUE(waitFor([&] { return !currentValues().first().isEmpty(); }, 2000));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"1000000", "100000", "9600", "19200", "无"}));
}

TEST_F(ExchangeOverPty, WriteSendsTheFrameBuiltFromTheSettingsPanel)
{
    child<QLineEdit>("Text2")->setText(QStringLiteral("999999"));
    form->setListIndex(ListControl::Combo1, 3); // "9600": reopens the port
    form->setListIndex(ListControl::Combo2, 4); // "19200"
    form->setListIndex(ListControl::Combo3, 1); // "奇": reopens the port
    click("Command2");
    EXPECT_EQ(peer.read(1000), QByteArray::fromHex("F0AAA08601003F420F00A30D"));
    peer.write(QByteArray::fromHex("F0EE0D"));
    ASSERT_TRUE(waitFor([&] { return !messages->shown.empty(); }, 2000));
    EXPECT_EQ(messages->texts(), QStringList{"写入成功！"});
}

TEST_F(ExchangeOverPty, WrongWriteAcknowledgementIsReportedHalfASecondLater)
{
    click("Command2");
    ASSERT_EQ(peer.read(1000).size(), 12);
    peer.write(QByteArray::fromHex("F0EE0A"));
    ASSERT_TRUE(waitFor([&] { return form->state().OpName == QStringLiteral("写入"); }, 2000));
    QElapsedTimer sinceRejected;
    sinceRejected.start();
    ASSERT_TRUE(waitFor([&] { return !messages->shown.empty(); }, 2000));
    const qint64 delay = sinceRejected.elapsed();
    EXPECT_EQ(messages->texts(), QStringList{"写入不成功!"});
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Ostrevi电台参数设置程序"));
    EXPECT_GE(delay, 400);
    EXPECT_LE(delay, 900);
    runFor(700);
    EXPECT_EQ(messages->shown.size(), 1u);
}

TEST_F(ExchangeOverPty, EveryByteValueCrossesTheLineUnaltered)
{
    // Frequencies whose bytes are zero, XON, XOFF and 0xFF.
    child<QLineEdit>("Text1")->setText(QStringLiteral("1249536")); // 00 11 13 00
    child<QLineEdit>("Text2")->setText(QStringLiteral("1310481")); // 11 FF 13 00
    click("Command2");
    EXPECT_EQ(peer.read(1000).mid(2, 8), QByteArray::fromHex("00111300 11FF1300"));

    click("Command1");
    peer.read(1000);
    peer.write(QByteArray::fromHex("F0AA 0011FF13 11FF0000 00 0D")); // 335483136, 65297
    ASSERT_TRUE(waitFor([&] { return !currentValues().first().isEmpty(); }, 2000));
    EXPECT_EQ(currentValues().mid(0, 2), (QStringList{"335483136", "65297"}));
}
