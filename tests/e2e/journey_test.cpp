// Every user journey through the real window, offscreen, against radio-sim on
// a real pseudo-terminal. What the user sees is asserted on the window; what
// crossed the line, on the simulator's log.
#include "e2efixture.h"
#include "ptypeer.h"
#include "simprocess.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <ostream>
#include <random>
#include <thread>

namespace {

// Timer1 is faster than the tool's 500 ms so a scan of 43 ticks takes
// seconds, yet slow enough for a probe to be answered under ASan. Timer2
// keeps the half second: the failure report's delay is asserted.
constexpr int kTickMs = 150;
constexpr int kFailureMs = 500;

// The detection scan's positions 1 to 21.
const std::vector<std::string> kScanSettings{
        "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",  "2400,N,8,1",  "2400,O,8,1",
        "2400,E,8,1",  "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",  "9600,N,8,1",
        "9600,O,8,1",  "9600,E,8,1",  "19200,N,8,1", "19200,O,8,1", "19200,E,8,1",
        "38400,N,8,1", "38400,O,8,1", "38400,E,8,1", "57600,N,8,1", "57600,O,8,1",
        "57600,E,8,1",
};

// Scan positions from..to (wrapping after 21), then the extra settings.
std::vector<std::string> scan(int from, int to, std::vector<std::string> then = {})
{
    std::vector<std::string> s;
    for (int p = from; p <= to; ++p)
        s.push_back(kScanSettings[size_t((p - 1) % 21)]);
    s.insert(s.end(), then.begin(), then.end());
    return s;
}

// A device whose values show as kShownA3.
const std::vector<std::string> kDeviceA3{"--tx", "433125000", "--rx", "438250000", "--byte", "0xA3"};
const QStringList kShownA3{"433125000", "438250000", "9600", "19200", "奇"};
const QStringList kNothingShown{"", "", "", "", ""};
const QString kTitle = QStringLiteral("Ostrevi电台参数设置程序");

} // namespace

// Failure messages show texts, not UTF-16 code units.
void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class Journey : public E2ETest
{
protected:
    void TearDown() override
    {
        E2ETest::TearDown(); // the window lets go of its port first
        m_sims.clear();
    }

    // A simulator publishing its link in this test's port map.
    void startSim(std::vector<std::string> args, const std::vector<std::string> &more = {})
    {
        args.insert(args.end(), more.begin(), more.end());
        args.insert(args.end(), {"--ports-dir", portsDir().toStdString()});
        m_sims.push_back(std::make_unique<SimProcess>(RADIO_SIM_PATH));
        sim = m_sims.back().get();
        ASSERT_TRUE(sim->start(args)) << "radio-sim did not get ready";
    }

    void startTool()
    {
        createWindow(kTickMs, kFailureMs);
        form->Form_Load();
        form->show();
    }

    size_t logMark() { return sim->lines().size(); }

    std::vector<std::string> logSince(size_t from, const std::string &text)
    {
        const std::vector<std::string> &all = sim->lines();
        std::vector<std::string> found;
        std::copy_if(all.begin() + std::ptrdiff_t(std::min(from, all.size())), all.end(),
                     std::back_inserter(found),
                     [&](const std::string &l) { return l.find(text) != std::string::npos; });
        return found;
    }

    size_t count(size_t from, const std::string &text) { return logSince(from, text).size(); }

    bool waitForLog(size_t from, const std::string &text, int timeoutMs = 5000)
    {
        return waitFor([&] { return count(from, text) > 0; }, timeoutMs);
    }

    // The settings the probes and read requests went out at, from the
    // "1.234 tool>dev F0 CC 0D [4800,O,8,1]" lines.
    std::vector<std::string> probeSettingsSince(size_t from)
    {
        std::vector<std::string> s;
        for (const std::string &line : logSince(from, "tool>dev F0 CC 0D ")) {
            const size_t open = line.find('[');
            s.push_back(line.substr(open + 1, line.find(']', open) - open - 1));
        }
        return s;
    }

    bool waitForBoxes(size_t count, int timeoutMs = 5000)
    {
        return waitFor([&] { return messages->shown.size() >= count && messages->openBoxes == 0; },
                       timeoutMs);
    }

    QPushButton *button(const char *name) const { return child<QPushButton>(name); }

    void expectRequestButtons(bool enabled) const
    {
        for (const char *name : {"Command1", "Command2", "Command3"})
            EXPECT_EQ(button(name)->isEnabled(), enabled) << name;
    }

    // What a found device leaves: the port at its settings, values shown.
    void expectFound(const char *settings, const QStringList &values) const
    {
        EXPECT_EQ(form->link().settings(), QString::fromUtf8(settings));
        EXPECT_EQ(currentValues(), values);
        EXPECT_EQ(form->lamp(), Lamp::Green);
        expectRequestButtons(true);
    }

    // The scan is over: for some ticks nothing is sent and the port stays.
    void expectScanStopped(const char *settings, int ticks)
    {
        const size_t after = logMark();
        const size_t boxes = messages->shown.size();
        const Lamp lamp = form->lamp();
        runFor(ticks * kTickMs);
        EXPECT_TRUE(logSince(after, "tool>dev").empty());
        EXPECT_TRUE(logSince(after, "open").empty());
        EXPECT_EQ(form->link().settings(), QString::fromUtf8(settings));
        EXPECT_EQ(messages->shown.size(), boxes);
        EXPECT_EQ(form->lamp(), lamp);
    }

    // Types over the whole content, as a user who selects it first.
    void typeInto(const char *name, const QString &text)
    {
        auto *box = child<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // Clicks "检测设备" and waits for "检测到设备。" after the first boxesBefore boxes.
    void detect(size_t boxesBefore, int timeoutMs = 15000)
    {
        button("Command4")->click();
        const auto found = [&] {
            return std::any_of(messages->shown.begin() + std::ptrdiff_t(boxesBefore),
                               messages->shown.end(), [](const RecordingBox::Shown &s) {
                                   return s.text == QStringLiteral("检测到设备。");
                               });
        };
        ASSERT_TRUE(waitFor([&] { return found() && messages->openBoxes == 0; }, timeoutMs))
                << messages->texts().join(QLatin1Char('|')).toStdString();
    }

    // Detection from the start-up 4800,N,8,1 to a device at 9600,E,8,1, with
    // "读取完毕！" held open for holdMs while the scan goes on behind it.
    void detect9600Even(int holdMs)
    {
        ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "9600,E,8,1", "--tx", "410012500", "--rx",
                                          "415062500", "--byte", "0x1F"}));
        startTool();
        ASSERT_TRUE(waitForLog(0, "silent: line 4800,N,8,1, device 9600,E,8,1"));
        runFor(200);
        EXPECT_TRUE(messages->shown.empty());
        expectRequestButtons(false);

        int openWhenFound = -1;
        messages->holdMs = [&](const QString &text) {
            if (text == QStringLiteral("检测到设备。"))
                openWhenFound = messages->openBoxes;
            return text == QStringLiteral("读取完毕！") ? holdMs : 0;
        };
        const size_t mark = logMark();
        ASSERT_NO_FATAL_FAILURE(detect(0));

        ASSERT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
        if (holdMs > 0) {
            EXPECT_EQ(openWhenFound, 2) << "\"检测到设备。\" came after \"读取完毕！\" was closed";
            EXPECT_LT(messages->shown[1].atMs - messages->shown[0].atMs, holdMs);
        }
        // Positions 8 to 12 (read probes), then the handshake where it answered.
        EXPECT_EQ(probeSettingsSince(mark), scan(8, 12, {"9600,E,8,1"}));
        EXPECT_EQ(count(mark, "dev>tool F0 AA 54 4B 70 18 E4 59 BD 18 1F 0D [9600,E,8,1]"), 2u);
        EXPECT_EQ(count(mark, "dev>tool F0 AA "), 2u);
        expectFound("9600,E,8,1", {"410012500", "415062500", "9600", "9600", "偶"});
        expectScanStopped("9600,E,8,1", 6);
        EXPECT_TRUE(form->link().portOpen());
    }

    SimProcess *sim = nullptr;

private:
    std::vector<std::unique_ptr<SimProcess>> m_sims;
};

using StartUpJourney = Journey;

TEST_F(StartUpJourney, ReadsTheDeviceAt4800NoParityIntoTheCurrentValues)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1"}, kDeviceA3));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(messages->shown[0].icon, MessageIcon::None);
    EXPECT_EQ(currentValues(), kShownA3);

    // One read, at the start-up settings, with DTR and RTS asserted.
    EXPECT_EQ(count(0, "tool>dev "), 1u);
    EXPECT_EQ(count(0, "tool>dev F0 CC 0D [4800,N,8,1]"), 1u);
    EXPECT_EQ(count(0, "dev>tool F0 AA 88 F6 D0 19 10 2A 1F 1A A3 0D [4800,N,8,1]"), 1u);
    EXPECT_GT(count(0, "modem DTR=on RTS=on"), 0u);

    // A read changes neither the settings panel nor the lamp or buttons.
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("100000"));
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), QStringLiteral("100000"));
    EXPECT_EQ(form->listText(ListControl::Combo1), QStringLiteral("1200"));
    EXPECT_EQ(form->listText(ListControl::Combo3), QStringLiteral("无"));
    EXPECT_EQ(form->lamp(), Lamp::Red);
    expectRequestButtons(false);
}

using DetectionJourney = Journey;

TEST_F(DetectionJourney, StepsFrom4800NoParityTo9600EvenAndStaysThere)
{
    detect9600Even(0);
}

TEST_F(DetectionJourney, HandshakeIsJudgedWhileTheReadBoxIsStillOpen)
{
    detect9600Even(3000);
}

TEST_F(DetectionJourney, WrapsFrom57600EvenTo1200NoParity)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "1200,N,8,1", "--tx", "433920000", "--rx",
                                      "434920000", "--byte", "0x0C"}));
    startTool();
    ASSERT_TRUE(waitForLog(0, "silent: line 4800,N,8,1, device 1200,N,8,1"));
    const size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(0, 30000));
    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_EQ(probeSettingsSince(mark), scan(8, 22, {"1200,N,8,1"}));
    expectFound("1200,N,8,1", {"433920000", "434920000", "1200", "9600", "无"});
}

TEST_F(DetectionJourney, GivesUpAfter42UnansweredTicks)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--silent"}));
    startTool();
    ASSERT_TRUE(waitForLog(0, "silent: --silent"));

    const size_t mark = logMark();
    std::vector<Lamp> lamps{form->lamp()};
    const qint64 clickedAt = messages->elapsedMs();
    button("Command4")->click();
    ASSERT_TRUE(waitFor([&] {
        if (lamps.back() != form->lamp())
            lamps.push_back(form->lamp());
        return !messages->shown.empty();
    }, 43 * kTickMs * 4));

    EXPECT_EQ(messages->texts(), QStringList{"检测不到设备！"});
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(messages->shown[0].icon, MessageIcon::None);
    // One uncounted tick (the start-up read is outstanding, so no probe),
    // then 42 counted ones; the last sends nothing.
    EXPECT_GE(messages->shown[0].atMs - clickedAt, 40 * kTickMs);
    EXPECT_EQ(probeSettingsSince(mark), scan(8, 48));
    EXPECT_EQ(form->link().settings(), QStringLiteral("2400,E,8,1"));

    // Start-up red, green on the uncounted tick, then red and yellow by turns.
    ASSERT_GE(lamps.size(), 4u);
    EXPECT_EQ(std::vector<Lamp>(lamps.begin(), lamps.begin() + 4),
              (std::vector<Lamp>{Lamp::Red, Lamp::Green, Lamp::Red, Lamp::Yellow}));
    EXPECT_EQ(std::count(lamps.begin() + 2, lamps.end(), Lamp::Green), 0);
    EXPECT_EQ(form->lamp(), Lamp::Red);
    expectRequestButtons(false);

    const size_t after = logMark();
    expectScanStopped("2400,E,8,1", 8);
    EXPECT_TRUE(logSince(after, "line ").empty());
    EXPECT_EQ(messages->shown.size(), 1u);
}

using EditJourney = Journey;

TEST_F(EditJourney, WriteReadBackThenActivateANewRateAndFindTheDeviceAgain)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--tx", "433920000", "--rx",
                                      "434920000", "--byte", "0x0E"}));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(currentValues(), (QStringList{"433920000", "434920000", "4800", "9600", "无"}));

    // The start-up read was answered, so the first tick's handshake finds it.
    size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(1));
    EXPECT_EQ(probeSettingsSince(mark), std::vector<std::string>{"4800,N,8,1"});
    expectRequestButtons(true);

    // New frequencies, the same interface rate, channel 38400, no parity.
    typeInto("Text1", QStringLiteral("433125000"));
    typeInto("Text2", QStringLiteral("438500000"));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("433125000"));
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), QStringLiteral("438500000"));
    form->setListIndex(ListControl::Combo1, 2); // "4800": reopens the port
    form->setListIndex(ListControl::Combo2, 5); // "38400"
    EXPECT_TRUE(form->link().portOpen());

    // Each step: click, the box it ends with, a line the simulator logged.
    const auto step = [&](const char *name, size_t boxes, const char *text, const char *logged) {
        SCOPED_TRACE(text);
        mark = logMark();
        button(name)->click();
        ASSERT_TRUE(waitForBoxes(boxes));
        EXPECT_EQ(messages->texts().last(), QString::fromUtf8(text));
        EXPECT_EQ(count(mark, logged), 1u) << logged;
    };
    step("Command2", 3, "写入成功！", "tool>dev F0 AA 88 F6 D0 19 A0 FA 22 1A 86 0D [4800,N,8,1]");
    EXPECT_EQ(count(mark, "request write tx=433125000 rx=438500000 byte=86"), 1u);
    step("Command1", 4, "读取完毕！", "tool>dev F0 CC 0D [4800,N,8,1]");
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438500000", "4800", "38400", "无"}));

    // Now a new interface rate and parity: 9600, odd.
    form->setListIndex(ListControl::Combo1, 3); // "9600"
    form->setListIndex(ListControl::Combo3, 1); // "奇"
    step("Command2", 5, "写入成功！", "request write tx=433125000 rx=438500000 byte=A7");
    step("Command3", 6, "激活成功！", "tool>dev F0 33 0D [4800,N,8,1]");
    ASSERT_TRUE(waitForLog(mark, "switch 4800,N,8,1 -> 9600,O,8,1"));

    // The device now listens at 9600,O,8,1; the tool finds it there.
    mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(6));
    EXPECT_EQ(messages->texts(),
              (QStringList{"读取完毕！", "检测到设备。", "写入成功！", "读取完毕！", "写入成功！",
                           "激活成功！", "读取完毕！", "检测到设备。"}));
    // A handshake at the old settings, the steps to 9600,O, the handshake.
    EXPECT_EQ(probeSettingsSince(mark),
              (std::vector<std::string>{"4800,N,8,1", "4800,O,8,1", "4800,E,8,1", "9600,N,8,1",
                                        "9600,O,8,1", "9600,O,8,1"}));
    expectFound("9600,O,8,1", {"433125000", "438500000", "9600", "38400", "奇"});
    // Reading and detecting left the settings panel as the user set it.
    EXPECT_EQ(form->listText(ListControl::Combo1), QStringLiteral("9600"));
    EXPECT_EQ(form->listText(ListControl::Combo3), QStringLiteral("奇"));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("433125000"));
}

using LineJourney = Journey;

TEST_F(LineJourney, EchoMakesAReadBeRejectedSilentlyButTheHandshakeAcceptsIt)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--echo"}));
    startTool();
    // The start-up read, then "读取参数" later: the reply comes behind the
    // echo of the request and is rejected without a box.
    const auto expectReadRejected = [&](size_t mark, const QStringList &texts) {
        ASSERT_TRUE(waitForLog(mark, "dev>tool F0 AA "));
        EXPECT_EQ(count(mark, "line>tool F0 CC 0D [4800,N,8,1] echo"), 1u);
        runFor(500);
        EXPECT_EQ(messages->texts(), texts);
        EXPECT_EQ(currentValues(), kNothingShown);
    };
    ASSERT_NO_FATAL_FAILURE(expectReadRejected(0, {}));

    size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(0));
    EXPECT_EQ(messages->texts(), QStringList{"检测到设备。"});
    EXPECT_EQ(probeSettingsSince(mark), std::vector<std::string>{"4800,N,8,1"});
    EXPECT_EQ(count(mark, "echo"), 1u);
    expectFound("4800,N,8,1", kNothingShown); // a handshake is not shown

    mark = logMark();
    button("Command1")->click();
    ASSERT_NO_FATAL_FAILURE(expectReadRejected(mark, {"检测到设备。"}));
}

TEST_F(LineJourney, ReplyInOneBytePiecesIsGathered)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--split", "1"}, kDeviceA3));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), kShownA3);
    EXPECT_EQ(count(0, "dev>tool "), 12u); // it did arrive byte by byte

    ASSERT_NO_FATAL_FAILURE(detect(1));
    const size_t mark = logMark();
    button("Command2")->click();
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。", "写入成功！"}));
    EXPECT_EQ(count(mark, "dev>tool "), 3u);
}

TEST_F(LineJourney, LateReplyIsStillRead)
{
    constexpr int kDelayMs = 600;
    ASSERT_NO_FATAL_FAILURE(
            startSim({"--settings", "4800,N,8,1", "--delay", std::to_string(kDelayMs)}, kDeviceA3));
    createWindow(kTickMs, kFailureMs);
    const qint64 loadedAt = messages->elapsedMs();
    form->Form_Load();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_GE(messages->shown[0].atMs - loadedAt, kDelayMs - 50);
    EXPECT_EQ(currentValues(), kShownA3);
}

TEST_F(LineJourney, StrayByteAheadOfAReplyInTheSameReceptionDropsTheReply)
{
    // The first reply (and every second one) has a 00 in front of it.
    ASSERT_NO_FATAL_FAILURE(
            startSim({"--settings", "4800,N,8,1", "--noise", "--delay", "800"}, kDeviceA3));
    startTool();
    ASSERT_TRUE(waitForLog(0, "request read"));
    // A busy tool: by the time it reads the port, the stray byte and the
    // reply wait together and arrive as one reception starting with 00.
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    ASSERT_TRUE(sim->hasLine("line>tool 00 [4800,N,8,1] noise"));
    ASSERT_TRUE(sim->hasLine("dev>tool F0 AA 88 F6 D0 19 10 2A 1F 1A A3 0D [4800,N,8,1]"));
    runFor(500);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(currentValues(), kNothingShown);

    // The next reply comes clean and is read; the dropped one left nothing behind.
    const size_t mark = logMark();
    form->Command1_Click();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_TRUE(logSince(mark, "noise").empty());
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), kShownA3);
}

TEST_F(LineJourney, WrongAcknowledgementIsReportedOnceHalfASecondLater)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--bad-ack"}));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    ASSERT_NO_FATAL_FAILURE(detect(1));

    std::vector<qint64> receivedAt;
    QObject::connect(&form->link(), &SerialLink::onComm, form.get(),
                     [&] { receivedAt.push_back(messages->elapsedMs()); });
    const struct { const char *button, *sent, *ack, *text; qint64 maxDelay; } cases[] = {
            {"Command2", "tool>dev F0 AA A0 86 01 00 A0 86 01 00 00 0D [4800,N,8,1]",
             "dev>tool F0 EE 0A [4800,N,8,1]", "写入不成功!", 1200},
            {"Command3", "tool>dev F0 33 0D [4800,N,8,1]", "dev>tool F0 BB 0A [4800,N,8,1]",
             "激活不成功!", 1'000'000},
    };
    QStringList texts{"读取完毕！", "检测到设备。"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        receivedAt.clear();
        const size_t mark = logMark();
        button(c.button)->click();
        ASSERT_TRUE(waitForBoxes(texts.size() + 1, 3000));
        ASSERT_FALSE(receivedAt.empty());
        EXPECT_EQ(count(mark, c.sent), 1u);
        EXPECT_EQ(count(mark, c.ack), 1u);
        const RecordingBox::Shown report = messages->shown.back();
        EXPECT_EQ(report.text, QString::fromUtf8(c.text));
        EXPECT_EQ(report.title, kTitle);
        EXPECT_EQ(report.icon, MessageIcon::None);
        EXPECT_GE(report.atMs - receivedAt.front(), 400);
        EXPECT_LE(report.atMs - receivedAt.front(), c.maxDelay);
        runFor(3 * kFailureMs);
        EXPECT_EQ(messages->texts(), texts << QString::fromUtf8(c.text));
    }
}

using FaultJourney = Journey;

TEST_F(FaultJourney, DeviceKilledMidExchangeLeavesAClosedPortAndAQuietTool)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--delay", "1500"}));
    startTool();
    ASSERT_TRUE(waitForLog(0, "request read")); // its reply is still to come
    sim->stop(SIGKILL);
    EXPECT_FALSE(sim->hasLine("dev>tool"));
    ASSERT_TRUE(waitFor([&] { return !form->link().portOpen(); }, 5000));
    EXPECT_TRUE(messages->shown.empty());

    const std::clock_t before = std::clock(); // the process's CPU time
    QEventLoop idle;
    QTimer::singleShot(5000, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_LT(double(std::clock() - before) / CLOCKS_PER_SEC, 0.5) << "CPU seconds in 5 s idle";

    // Requests end silently, as on a closed port.
    form->Command1_Click();
    form->Command2_Click();
    form->Command3_Click();
    runFor(300);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(form->link().portOpen());

    // A new device on the same COM1; picking the port again reopens it.
    ASSERT_NO_FATAL_FAILURE(startSim({"--com", "1", "--settings", "4800,N,8,1"}, kDeviceA3));
    emit child<QComboBox>("Combo4")->activated(0);
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_TRUE(messages->shown.empty());
    ASSERT_TRUE(waitForLog(0, "open"));
    ASSERT_NO_FATAL_FAILURE(detect(0));
    EXPECT_EQ(messages->texts(), QStringList{"检测到设备。"});
    button("Command1")->click();
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(messages->texts(), (QStringList{"检测到设备。", "读取完毕！"}));
    EXPECT_EQ(currentValues(), kShownA3);
}

TEST_F(FaultJourney, BurstOfRandomBytesKeepsTheBufferBoundedAndAGoodReplyStillCounts)
{
    PtyPeer peer;
    ASSERT_TRUE(peer.isValid());
    mapPort(1, peer.devicePath());
    // A slow scan, so the burst lands between two ticks under the handshake,
    // where nothing but the 15-byte gate stops the buffer from growing.
    constexpr int kSlowTickMs = 4000;
    createWindow(kSlowTickMs, kFailureMs);
    form->Form_Load();
    const QByteArray read = QByteArray::fromHex("F0CC0D");
    const QByteArray reply = QByteArray::fromHex("F0AA88F6D019102A1F1AA30D");
    ASSERT_EQ(peer.read(2000), read);
    peer.write(reply);
    ASSERT_TRUE(waitForBoxes(1));
    button("Command4")->click();
    ASSERT_EQ(peer.read(2 * kSlowTickMs), read); // the handshake
    ASSERT_EQ(form->lamp(), Lamp::Green);

    std::int32_t maxCount = 0;
    int receptions = 0;
    QObject::connect(&form->link(), &SerialLink::onComm, form.get(), [&] {
        ++receptions;
        maxCount = std::max(maxCount, form->state().rx.RxCount);
    });

    // 4 KiB of noise. An F0 followed by AA or CC could pass for the answer,
    // so those followers are changed. It ends in 16 bytes without F0, which
    // by the gate leave the buffer empty however the receptions fall.
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> notF0(0, 254);
    QByteArray burst;
    for (int i = 0; i < 4096; ++i) {
        int v = i < 4096 - 16 ? anyByte(random) : notF0(random);
        if (i >= 4096 - 16 && v >= 0xF0)
            ++v;
        if (!burst.isEmpty() && burst.back() == char(0xF0) && (v == 0xAA || v == 0xCC))
            v ^= 0x01;
        burst.append(char(v));
    }
    // Pieces of 1 to 24 bytes, each F0 starting a piece so that it opens a
    // buffer, with the tool reading between pieces.
    std::uniform_int_distribution<int> pieceSize(1, 24);
    int pieces = 0;
    for (qsizetype at = 0, end; at < burst.size(); at = end, ++pieces) {
        end = std::min<qsizetype>(burst.size(), at + pieceSize(random));
        const qsizetype f0 = burst.indexOf(char(0xF0), at + 1);
        if (f0 > 0 && f0 < end)
            end = f0;
        peer.write(burst.mid(at, end - at));
        QTest::qWait(2);
    }
    ASSERT_GT(burst.count(char(0xF0)), 4);
    runFor(300);
    ASSERT_EQ(form->lamp(), Lamp::Green); // still under the same handshake

    EXPECT_GT(receptions, pieces / 2);
    EXPECT_GE(maxCount, 12) << "the burst never made the buffer grow";
    EXPECT_LE(maxCount, 15);
    EXPECT_EQ(form->state().rx.RxCount, 0);
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_TRUE(peer.read(200).isEmpty()); // the tool never answers the line
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});

    // The device's answer to the handshake still ends the scan.
    peer.write(reply);
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_EQ(form->lamp(), Lamp::Green);
    EXPECT_EQ(form->link().settings(), QStringLiteral("4800,N,8,1"));
    EXPECT_LE(maxCount, 15);

    // And a read is shown.
    button("Command1")->click();
    ASSERT_EQ(peer.read(2000), read);
    peer.write(QByteArray::fromHex("F0AAA08601003F420F00530D"));
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("读取完毕！"));
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "1200", "偶"}));
}
