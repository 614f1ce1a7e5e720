// User journeys through the real window, offscreen, against radio-sim on a
// real pseudo-terminal. The detection timer is ticked by the test, each tick
// once the simulator has dealt with the previous probe, so a busy machine
// only makes a journey slower. What crossed the line is read off the
// simulator's log.
#include "app/form1.h"
#include "fakes.h"
#include "scopedenv.h"
#include "simprocess.h"
#include "windowprobe.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>


namespace {

const QStringList kNothingShown(5, QString());

class Journey : public ::testing::Test, protected WindowProbe
{
protected:
    void SetUp() override { ASSERT_TRUE(config.isValid()); }
    // The window lets go of its port before the simulator goes.
    void TearDown() override { form.reset(); }

    QString portsDir() const { return config.path() + QStringLiteral("/radio-setup/ports"); }

    void startSim(SimProcess &s, const QStringList &args)
    {
        ASSERT_TRUE(s.start(args, portsDir())) << "radio-sim did not get ready";
    }

    void startTool()
    {
        Form1Seams seams = Form1Seams::forDesktop();
        seams.Timer1.reset(timer1 = new FakeTimer);
        seams.messages.reset(boxes = new FakeMessageBox);
        form = std::make_unique<Form1>(std::move(seams));
        form->Form_Load();
        form->show();
    }


    bool waitForBoxes(qsizetype n, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return boxes->shown.size() >= n; }, ms);
    }

    // Ticks the scan until `n` boxes have been shown. After each probe the
    // next tick waits until the simulator has either answered it or said why
    // not, and the window has shown what an answer brings. The first
    // `withoutProbe` ticks are known to send nothing.
    void scanUntilBoxes(qsizetype n, int withoutProbe = 0)
    {
        child<QPushButton>("Command4")->click();
        for (int tick = 0; tick < 43 && boxes->shown.size() < n; ++tick) {
            const qsizetype mark = sim.lineCount();
            const qsizetype before = boxes->shown.size();
            timer1->fire();
            if (tick < withoutProbe)
                continue;
            ASSERT_TRUE(sim.waitForLine(QStringLiteral("tool>dev F0 CC 0D"), mark)) << "tick " << tick;
            ASSERT_TRUE(QTest::qWaitFor([&] {
                return !sim.linesWith(QStringLiteral("silent:"), mark).isEmpty() || boxes->shown.size() > before;
            }, 5000));
        }
        ASSERT_EQ(boxes->shown.size(), n) << boxes->shown.join(' ').toStdString();
    }

    QTemporaryDir config;
    ScopedEnv configHome{"XDG_CONFIG_HOME", config.path().toUtf8()};
    SimProcess sim;
    FakeTimer *timer1 = nullptr;
    FakeMessageBox *boxes = nullptr;
};

} // namespace

TEST_F(Journey, DetectsADeviceAtOtherSettingsAndConfirmsItWhileTheReadBoxIsOpen)
{
    ASSERT_NO_FATAL_FAILURE(startSim(sim, {"--settings", "9600,E,8,1", "--tx", "410012500", "--rx",
                                           "415062500", "--byte", "0x1F"}));
    startTool();
    ASSERT_TRUE(sim.waitForLine(QStringLiteral("silent: line 4800,N,8,1, device 9600,E,8,1")));
    EXPECT_TRUE(sim.waitForLine(QStringLiteral("modem DTR=on RTS=on")));
    const qsizetype mark = sim.lineCount();
    // While "读取完毕！", the first box, is open the next tick goes out and its
    // handshake is answered, with the event loop going as a user reading it.
    QStringList valuesWhileOpen;
    boxes->whileOpen = [&] {
        valuesWhileOpen = currentValues();
        timer1->fire();
        EXPECT_TRUE(waitForBoxes(2));
    };
    ASSERT_NO_FATAL_FAILURE(scanUntilBoxes(2, 1)); // the start-up read is still out

    EXPECT_EQ(boxes->shown, (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_EQ(valuesWhileOpen, kNothingShown);
    EXPECT_EQ(currentValues(), (QStringList{"410012500", "415062500", "9600", "9600", "偶"}));
    EXPECT_EQ(sim.readsAt(mark), (QStringList{"4800,O,8,1", "4800,E,8,1", "9600,N,8,1", "9600,O,8,1",
                                             "9600,E,8,1", "9600,E,8,1"}));
    EXPECT_EQ(lamp(), Lamp::Green);
    EXPECT_TRUE(child("Command2")->isEnabled());
    EXPECT_FALSE(timer1->enabled);
}

TEST_F(Journey, WritesReadsBackActivatesANewRateAndFindsTheDeviceThere)
{
    ASSERT_NO_FATAL_FAILURE(startSim(sim, {"--settings", "4800,N,8,1", "--tx", "433920000", "--rx",
                                           "434920000", "--byte", "0x0E"}));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(currentValues(), (QStringList{"433920000", "434920000", "4800", "9600", "无"}));
    ASSERT_NO_FATAL_FAILURE(scanUntilBoxes(2)); // the answered start-up read: one handshake

    for (const auto &[box, text] : {std::pair{"Text1", "433125000"}, {"Text2", "438500000"}}) {
        child<QLineEdit>(box)->selectAll();
        QTest::keyClicks(child<QLineEdit>(box), QString::fromUtf8(text));
    }
    pick("Combo1", 3); // "9600"
    pick("Combo2", 5); // "38400"
    pick("Combo3", 1); // "奇"
    qsizetype mark = sim.lineCount();
    child<QPushButton>("Command2")->click();
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_TRUE(sim.waitForLine(QStringLiteral("tool>dev F0 AA 88 F6 D0 19 A0 FA 22 1A A7 0D [4800,N,8,1]"), mark));
    child<QPushButton>("Command1")->click();
    ASSERT_TRUE(waitForBoxes(4));
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438500000", "9600", "38400", "奇"}));
    child<QPushButton>("Command3")->click();
    ASSERT_TRUE(waitForBoxes(5));
    ASSERT_TRUE(sim.waitForLine(QStringLiteral("switch 4800,N,8,1 -> 9600,O,8,1"), mark));

    mark = sim.lineCount();
    ASSERT_NO_FATAL_FAILURE(scanUntilBoxes(7));
    EXPECT_EQ(boxes->shown, (QStringList{"读取完毕！", "检测到设备。", "写入成功！", "读取完毕！", "激活成功！",
                                         "读取完毕！", "检测到设备。"}));
    EXPECT_EQ(sim.readsAt(mark), (QStringList{"4800,N,8,1", "4800,O,8,1", "4800,E,8,1", "9600,N,8,1",
                                             "9600,O,8,1", "9600,O,8,1"}));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("433125000")); // reading left it alone
}

TEST_F(Journey, DeviceThatVanishesMidExchangeLeavesAQuietClosedPortUntilPickedAgain)
{
    ASSERT_NO_FATAL_FAILURE(startSim(sim, {"--settings", "4800,N,8,1", "--delay", "1500"}));
    startTool();
    ASSERT_TRUE(sim.waitForLine(QStringLiteral("request read"))); // its reply is still to come
    sim.kill();
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return child<QLabel>("Panel1")->accessibleName().contains(QStringLiteral("已断开"));
    }));
    EXPECT_TRUE(boxes->shown.isEmpty());
    form->Command1_Click(); // a request on the lost port ends silently
    EXPECT_TRUE(boxes->shown.isEmpty());

    // The unit is back on COM1; picking the port again reopens and reads it.
    SimProcess again;
    ASSERT_NO_FATAL_FAILURE(startSim(again, {"--settings", "4800,N,8,1", "--tx", "123456789"}));
    emit child<QComboBox>("Combo4")->activated(0);
    ASSERT_TRUE(again.waitForLine(QStringLiteral("open")));
    form->Command1_Click();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(boxes->shown, QStringList{"读取完毕！"});
    EXPECT_EQ(child<QLineEdit>("Text6")->text(), QStringLiteral("123456789"));
}
