#include "app/form1.h"
#include "app/statuspanel.h"
#include "fakes.h"
#include "windowprobe.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A Form1 over fakes, with handles on every fake.
class WindowTest : public ::testing::Test, protected WindowProbe
{
protected:
    void SetUp() override
    {
        Form1Seams seams;
        seams.MSComm1.reset(link = new FakeLink);
        seams.Timer1.reset(timer1 = new FakeTimer);
        seams.Timer2.reset(timer2 = new FakeTimer);
        seams.messages.reset(boxes = new FakeMessageBox);
        seams.openUrl = [](const QUrl &) { return true; };
        form = std::make_unique<Form1>(std::move(seams));
    }

    bool requestButtonsEnabled() const
    {
        return child("Command1")->isEnabled() && child("Command2")->isEnabled() && child("Command3")->isEnabled();
    }

    FakeLink *link = nullptr;
    FakeTimer *timer1 = nullptr;
    FakeTimer *timer2 = nullptr;
    FakeMessageBox *boxes = nullptr;
};

} // namespace

TEST_F(WindowTest, LayoutKeepsEveryControlInsideItsContainerAndNamedByItsCaption)
{
    EXPECT_EQ(form->size(), QSize(400, 394));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
    const QList<QWidget *> controls = form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)
                                      + child("Frame1")->findChildren<QWidget *>()
                                      + child("Frame2")->findChildren<QWidget *>();
    for (QWidget *w : controls) {
        if (w->objectName().isEmpty() || w->parentWidget() == child("StatusBar1"))
            continue;
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    int captions = 0;
    for (QLabel *label : form->findChildren<QLabel *>()) {
        if (!label->text().endsWith(QStringLiteral("："))) // unit labels, the lamp, the status panel
            continue;
        ++captions;
        ASSERT_TRUE(label->buddy()) << label->objectName().toStdString();
        EXPECT_EQ(label->buddy()->parentWidget(), label->parentWidget());
        EXPECT_EQ(label->buddy()->accessibleName(), label->text());
        EXPECT_NEAR(label->geometry().center().y(), label->buddy()->geometry().center().y(), 4);
    }
    EXPECT_EQ(captions, 11);
}

// Typed as a user types: each box takes digits only, nine at most, and a
// refused key brings back that box's own last text, the caret where the
// refused key went in ("text|caret").
TEST_F(WindowTest, EachFrequencyBoxRestoresItsOwnTextWhenAKeyIsRefused)
{
    auto *tx = child<QLineEdit>("Text1");
    auto *rx = child<QLineEdit>("Text2");
    const auto type = [](QLineEdit *box, const char *keys) {
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(keys));
        return box->text() + QLatin1Char('|') + QString::number(box->cursorPosition());
    };
    EXPECT_EQ(type(tx, "433a1"), QStringLiteral("4331|4"));
    EXPECT_EQ(type(rx, "x"), QStringLiteral("100000|0"));
    EXPECT_EQ(type(tx, "y"), QStringLiteral("4331|0"));
    EXPECT_EQ(type(rx, "4385000001"), QStringLiteral("438500000|9"));
}

TEST_F(WindowTest, StartUpOpensTheFirstPortThreeTimesAndSendsOneReadAt4800)
{
    form->Form_Load();
    EXPECT_EQ(link->opens, (QStringList{"COM1 9600,N,8,1", "COM1 9600,N,8,1", "COM1 4800,N,8,1"}));
    EXPECT_EQ(link->written, QStringList{"F0 CC 0D"});
    for (const auto &[list, text] : {std::pair{"Combo4", "COM1"}, {"Combo1", "1200"}, {"Combo2", "1200"}, {"Combo3", "无"}})
        EXPECT_EQ(child<QComboBox>(list)->currentText(), QString::fromUtf8(text));
    EXPECT_EQ(lamp(), Lamp::Red);
    EXPECT_FALSE(requestButtonsEnabled());
}

TEST_F(WindowTest, PortInUseAtStartUpIsReportedForEveryOpenAndNothingIsSent)
{
    link->failingPorts = {1};
    form->Form_Load();
    EXPECT_EQ(boxes->shown, (QStringList{"此串口已被占用，请换另一串口！", "此串口已被占用，请换另一串口！",
                                         "Ostrevi电台参数设置程序|COM1已被占用，换其它端口号再试一次。"}));
    EXPECT_TRUE(link->written.isEmpty());
    EXPECT_EQ(lamp(), Lamp::Red);

    // Picking a port that opens ends the exchange: the next scan tick is green.
    pick("Combo4", 2);
    EXPECT_EQ(link->opens, QStringList{"COM3 4800,N,8,1"});
    child<QPushButton>("Command4")->click();
    timer1->fire();
    EXPECT_EQ(lamp(), Lamp::Green);
    EXPECT_TRUE(requestButtonsEnabled());
    EXPECT_EQ(link->written, QStringList{"F0 CC 0D"});
}

TEST_F(WindowTest, PicksReopenThePortExceptTheChannelRate)
{
    form->Form_Load();
    link->opens.clear();
    pick("Combo2", 3);
    EXPECT_TRUE(link->opens.isEmpty());
    pick("Combo1", 3);
    pick("Combo3", 1);
    pick("Combo4", 0); // the same port again, as after re-plugging it
    EXPECT_EQ(link->opens, QStringList(3, QStringLiteral("COM1 4800,N,8,1")));

    link->failingPorts = {5};
    pick("Combo4", 4);
    EXPECT_EQ(boxes->shown, QStringList{"此串口已被占用，请换另一串口！"});
    EXPECT_FALSE(link->portOpen());
}

TEST_F(WindowTest, ReadReplyIsShownAfterItsBoxWithTheExchangeAlreadyEnded)
{
    form->Form_Load();
    child<QPushButton>("Command4")->click(); // a scan is running behind the box
    timer1->fire(); // the start-up read is still out: no probe, but a tick has passed
    boxes->whileOpen = [&] {
        timer1->fire(); // uncounted: handshake at the same settings
        link->deliver("F0AA0102"); // its answer begins, into a new buffer
    };
    link->deliver("F0AAA0");
    link->deliver("8601003F42");
    EXPECT_TRUE(boxes->shown.isEmpty());
    link->deliver("0F00A30D");

    EXPECT_EQ(boxes->shown, QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "19200", "奇"}));
    EXPECT_EQ(link->written, (QStringList{"F0 CC 0D", "F0 CC 0D"}));

    link->deliver("00000000000000003055"); // the handshake answered: the scan ends
    EXPECT_EQ(boxes->shown, (QStringList{"读取完毕！", "检测到设备。"}));

    form->Command1_Click();
    link->deliver("F0AA00000000000000003055");
    EXPECT_EQ(currentValues(), (QStringList{"0", "0", "1200", "1200", "奇"})); // parity 3 keeps the old text
}

TEST_F(WindowTest, AcknowledgementsAreReportedGoodAtOnceAndWrongHalfASecondLater)
{
    form->Form_Load();
    form->Command2_Click();
    link->deliver("F0EE3F");
    form->Command3_Click();
    link->deliver("F0BB0D");
    EXPECT_EQ(boxes->shown, (QStringList{"写入成功！", "激活成功！"}));

    form->Command2_Click();
    link->deliver("F0EE0A");
    form->Command3_Click();
    link->deliver("F0BB");
    link->deliver("0D");
    EXPECT_EQ(boxes->shown.size(), 3); // the good one
    timer2->fire();
    EXPECT_EQ(boxes->shown.last(), QStringLiteral("Ostrevi电台参数设置程序|写入不成功!"));
}

// Cut to the panel on screen, whole for a screen reader and in the tooltip.
TEST(StatusPanelTest, ACutLineIsStillNamedWhole)
{
    StatusPanel panel(60, nullptr);
    const QString line = QStringLiteral("COM1：/dev/ttyUSB0（FT232R USB UART）4800,N,8,1");
    panel.say(line);
    EXPECT_TRUE(panel.text().size() < line.size() && panel.accessibleName() == line && panel.toolTip() == line)
        << panel.text().toStdString();
}

// A wrong acknowledgement is reported on the failure timer's first tick,
// half a second after it came; the scan steps at the same pace.
TEST(DesktopTimers, TickEveryHalfSecondUntilStopped)
{
    Form1Seams seams = Form1Seams::forDesktop();
    for (Timer *timer : {seams.Timer1.get(), seams.Timer2.get()}) {
        const QTimer *qtTimer = dynamic_cast<QObject &>(*timer).findChild<QTimer *>();
        ASSERT_TRUE(qtTimer);
        int ticks = 0;
        timer->onTimer = [&] { ++ticks; };
        timer->setEnabled(true);
        EXPECT_EQ(qtTimer->interval(), 500);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ticks > 0; }));
        timer->setEnabled(false);
        EXPECT_FALSE(qtTimer->isActive());
    }
}
