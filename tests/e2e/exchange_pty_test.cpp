#include "e2efixture.h"
#include "ptypeer.h"

#include <QComboBox>
#include <QPushButton>

namespace {

const QByteArray kReadRequest("\xF0\xCC\x0D", 3);

} // namespace

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
        ASSERT_EQ(peer.read(2000), kReadRequest);
        // Detection would enable these; here the test does.
        form->setRequestButtonsEnabled(true);
    }

    PtyPeer peer;
};

TEST_F(ExchangeOverPty, ReadAnsweredInThreePiecesFillsTheCurrentValues)
{
    child<QPushButton>("Command1")->click();
    ASSERT_EQ(peer.read(1000), kReadRequest);
    peer.write(bytes({0xF0, 0xAA, 0x40, 0x42}));
    runFor(30);
    peer.write(bytes({0x0F, 0x00, 0xA0, 0x86, 0x01}));
    runFor(30);
    peer.write(bytes({0x00, 0xC3, 0x0D}));

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
    child<QPushButton>("Command2")->click();

    EXPECT_EQ(peer.read(1000), bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F,
                                      0x00, 0xA3, 0x0D}));
    peer.write(bytes({0xF0, 0xEE, 0x0D}));
    ASSERT_TRUE(waitFor([&] { return !messages->shown.empty(); }, 2000));
    EXPECT_EQ(messages->texts(), QStringList{"写入成功！"});
}

TEST_F(ExchangeOverPty, WrongWriteAcknowledgementIsReportedHalfASecondLater)
{
    child<QPushButton>("Command2")->click();
    ASSERT_EQ(peer.read(1000).size(), 12);
    peer.write(bytes({0xF0, 0xEE, 0x0A}));
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
    child<QPushButton>("Command2")->click();
    const QByteArray sent = peer.read(1000);
    EXPECT_EQ(sent.mid(2, 8), bytes({0x00, 0x11, 0x13, 0x00, 0x11, 0xFF, 0x13, 0x00}));

    child<QPushButton>("Command1")->click();
    peer.read(1000);
    // 0x13FF1100 = 335483136 and 0x0000FF11 = 65297
    peer.write(bytes({0xF0, 0xAA, 0x00, 0x11, 0xFF, 0x13, 0x11, 0xFF, 0x00, 0x00, 0x00, 0x0D}));
    ASSERT_TRUE(waitFor([&] { return !currentValues().first().isEmpty(); }, 2000));
    EXPECT_EQ(currentValues().mid(0, 2), (QStringList{"335483136", "65297"}));
}
