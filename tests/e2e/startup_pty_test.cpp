#include "e2efixture.h"
#include "ptypeer.h"

#include <QComboBox>
#include <QPushButton>
#include <QSerialPort>

class StartupOverPty : public E2ETest
{
protected:
    // The window loaded with COM1 (and any more ports) on peers.
    void load(std::initializer_list<std::pair<int, PtyPeer *>> ports)
    {
        for (const auto &[n, peer] : ports) {
            ASSERT_TRUE(peer->isValid());
            mapPort(n, peer->devicePath());
        }
        createWindow();
        form->Form_Load();
    }

    PtyPeer com1;
    const QByteArray kRead = QByteArray::fromHex("F0CC0D");
};

TEST_F(StartupOverPty, SendsOneReadRequestAt4800NoParity8Data1Stop)
{
    load({{1, &com1}});
    EXPECT_EQ(com1.read(2000, 200), kRead);
    const termios t = com1.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_EQ(cfgetispeed(&t), speed_t(B4800));
    EXPECT_EQ(t.c_cflag & (CSIZE | CSTOPB | PARENB), tcflag_t(CS8));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u);
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_TRUE(messages->shown.empty());
    runFor(300);
    EXPECT_TRUE(com1.read(100).isEmpty()); // exactly once
}

TEST_F(StartupOverPty, PickingCom3ReopensOnItsDevice)
{
    PtyPeer com3;
    load({{1, &com1}, {3, &com3}});
    com1.read(1000);
    auto *combo = child<QComboBox>("Combo4");
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(form->link().commPort(), 3);
    EXPECT_TRUE(form->link().portOpen());

    form->setRequestButtonsEnabled(true);
    child<QPushButton>("Command1")->click();
    EXPECT_EQ(com3.read(1000), kRead);
    const termios t = com3.lineSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B4800));
    EXPECT_TRUE(com1.read(100).isEmpty());
    QSerialPort other(com1.devicePath()); // COM1 is free again
    EXPECT_TRUE(other.open(QIODevice::ReadWrite));
}

TEST_F(StartupOverPty, MissingDeviceAtStartUpNamesThePortAndSendsNothing)
{
    mapPort(1, QStringLiteral("/nonexistent/ttyUSB9"));
    createWindow();
    form->Form_Load();
    ASSERT_EQ(messages->texts(), (QStringList{"此串口已被占用，请换另一串口！",
                                              "此串口已被占用，请换另一串口！",
                                              "COM1已被占用，换其它端口号再试一次。"}));
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(messages->shown[2].title, QStringLiteral("Ostrevi电台参数设置程序"));
    for (const auto &m : messages->shown)
        EXPECT_EQ(m.icon, MessageIcon::None);
    EXPECT_FALSE(form->link().portOpen());
}

TEST_F(StartupOverPty, BusyDeviceOnSelectionIsReportedAndLeavesThePortsClosed)
{
    PtyPeer com2;
    load({{1, &com1}, {2, &com2}});
    com1.read(1000);
    QSerialPort holder(com2.devicePath()); // another program, with its lock file
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));

    form->setListIndex(ListControl::Combo4, 1);
    EXPECT_EQ(messages->texts(), QStringList{"此串口已被占用，请换另一串口！"});
    EXPECT_FALSE(form->link().portOpen());
    form->Command1_Click(); // ends silently on the closed port
    EXPECT_TRUE(com1.read(200).isEmpty());
    EXPECT_TRUE(com2.read(200).isEmpty());

    holder.close();
    form->setListIndex(ListControl::Combo4, 0);
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_EQ(messages->shown.size(), 1u);
}
