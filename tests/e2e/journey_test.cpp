// Every user journey through the real window, offscreen, against radio-sim on
// a real pseudo-terminal: start-up, detection, write/read/activate, a line
// that echoes, splits, delays or adds noise, a wrong acknowledgement, a
// device that dies and garbage on the line. What the user sees is asserted
// on the window; what crossed the line, on the simulator's log.
#include "e2efixture.h"
#include "ptypeer.h"
#include "simprocess.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <random>
#include <thread>

namespace {

// Timer1 runs faster than the tool's 500 ms so a scan of 43 ticks takes
// seconds; it stays slow enough for a probe to be answered under ASan.
constexpr int kTickMs = 150;
// Timer2 keeps the half second: the failure report's delay is asserted.
constexpr int kFailureMs = 500;

// The detection scan's positions 1 to 21, as the user's device can be set.
const std::vector<std::string> kScanSettings{
        "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",  "2400,N,8,1",  "2400,O,8,1",
        "2400,E,8,1",  "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",  "9600,N,8,1",
        "9600,O,8,1",  "9600,E,8,1",  "19200,N,8,1", "19200,O,8,1", "19200,E,8,1",
        "38400,N,8,1", "38400,O,8,1", "38400,E,8,1", "57600,N,8,1", "57600,O,8,1",
        "57600,E,8,1",
};

// "1.234 tool>dev F0 CC 0D [4800,O,8,1]" gives "4800,O,8,1".
std::string settingsOf(const std::string &line)
{
    const size_t open = line.find('[');
    const size_t close = line.find(']', open);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    return line.substr(open + 1, close - open - 1);
}

double cpuSeconds()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(r.ru_utime) + seconds(r.ru_stime);
}

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
        // The window lets go of its port before the simulators go away.
        E2ETest::TearDown();
        m_sims.clear();
    }

    // Starts a simulator publishing its link in this test's port map.
    void startSim(std::vector<std::string> args)
    {
        auto next = std::make_unique<SimProcess>(RADIO_SIM_PATH);
        args.push_back("--ports-dir");
        args.push_back(portsDir().toStdString());
        ASSERT_TRUE(next->start(args)) << "radio-sim did not get ready";
        sim = next.get();
        m_sims.push_back(std::move(next));
    }

    void startTool()
    {
        createWindow(kTickMs, kFailureMs);
        form->Form_Load();
        form->show();
    }

    size_t logMark() { return sim->lines().size(); }

    // The simulator's log lines from index `from` on that contain `text`.
    std::vector<std::string> logSince(size_t from, const std::string &text)
    {
        const std::vector<std::string> &all = sim->lines();
        std::vector<std::string> found;
        for (size_t i = from; i < all.size(); ++i) {
            if (all[i].find(text) != std::string::npos)
                found.push_back(all[i]);
        }
        return found;
    }

    bool waitForLog(size_t from, const std::string &text, int timeoutMs = 5000)
    {
        return waitFor([&] { return !logSince(from, text).empty(); }, timeoutMs);
    }

    // The settings the tool's probes and read requests went out at.
    std::vector<std::string> probeSettingsSince(size_t from)
    {
        std::vector<std::string> s;
        for (const std::string &line : logSince(from, "tool>dev F0 CC 0D "))
            s.push_back(settingsOf(line));
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

    // Types over the whole content, as a user who selects it first.
    void typeInto(const char *name, const QString &text)
    {
        auto *box = child<QLineEdit>(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    // Clicks "检测设备" and waits for the scan's message.
    void detect(size_t boxesBefore, int timeoutMs = 15000)
    {
        button("Command4")->click();
        const auto found = [&] {
            for (size_t i = boxesBefore; i < messages->shown.size(); ++i) {
                if (messages->shown[i].text == QStringLiteral("检测到设备。"))
                    return true;
            }
            return false;
        };
        ASSERT_TRUE(waitFor([&] { return found() && messages->openBoxes == 0; }, timeoutMs))
                << messages->texts().join(QLatin1Char('|')).toStdString();
    }

    SimProcess *sim = nullptr;

private:
    std::vector<std::unique_ptr<SimProcess>> m_sims;
};

// --- Start-up -------------------------------------------------------------

using StartUpJourney = Journey;

TEST_F(StartUpJourney, ReadsTheDeviceAt4800NoParityIntoTheCurrentValues)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--tx", "433125000", "--rx",
                                      "438250000", "--byte", "0xA3"}));
    startTool();

    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(messages->shown[0].title, QString());
    EXPECT_EQ(messages->shown[0].icon, MessageIcon::None);
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438250000", "9600", "19200", "奇"}));

    // One read, at the start-up settings, with DTR and RTS asserted.
    EXPECT_EQ(logSince(0, "tool>dev ").size(), 1u);
    EXPECT_EQ(logSince(0, "tool>dev F0 CC 0D [4800,N,8,1]").size(), 1u);
    EXPECT_EQ(logSince(0, "dev>tool F0 AA 88 F6 D0 19 10 2A 1F 1A A3 0D [4800,N,8,1]").size(), 1u);
    EXPECT_FALSE(logSince(0, "modem DTR=on RTS=on").empty());

    // A read changes neither the settings panel nor the lamp or buttons.
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("100000"));
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), QStringLiteral("100000"));
    EXPECT_EQ(form->listText(ListControl::Combo1), QStringLiteral("1200"));
    EXPECT_EQ(form->listText(ListControl::Combo3), QStringLiteral("无"));
    EXPECT_EQ(form->lamp(), Lamp::Red);
    expectRequestButtons(false);
}

// --- Detection ------------------------------------------------------------

using DetectionJourney = Journey;

TEST_F(DetectionJourney, StepsFrom4800NoParityTo9600EvenAndStaysThere)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "9600,E,8,1", "--tx", "410012500", "--rx",
                                      "415062500", "--byte", "0x1F"}));
    startTool();
    // The start-up read goes unanswered at 4800,N,8,1.
    ASSERT_TRUE(waitForLog(0, "silent: line 4800,N,8,1, device 9600,E,8,1"));
    runFor(200);
    EXPECT_TRUE(messages->shown.empty());
    expectRequestButtons(false);

    const size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(0));

    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    // Positions 8 to 12 (read probes), then the handshake where it answered.
    EXPECT_EQ(probeSettingsSince(mark),
              (std::vector<std::string>{"4800,O,8,1", "4800,E,8,1", "9600,N,8,1", "9600,O,8,1",
                                        "9600,E,8,1", "9600,E,8,1"}));
    EXPECT_EQ(logSince(mark, "dev>tool F0 AA 54 4B 70 18 E4 59 BD 18 1F 0D [9600,E,8,1]").size(), 2u);
    EXPECT_EQ(form->lamp(), Lamp::Green);
    expectRequestButtons(true);
    EXPECT_EQ(currentValues(), (QStringList{"410012500", "415062500", "9600", "9600", "偶"}));

    // The scan has stopped: the port stays at the answered settings.
    const size_t after = logMark();
    runFor(6 * kTickMs);
    EXPECT_TRUE(logSince(after, "tool>dev").empty());
    EXPECT_TRUE(logSince(after, "open").empty());
    EXPECT_EQ(form->link().settings(), QStringLiteral("9600,E,8,1"));
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(form->lamp(), Lamp::Green);
}

TEST_F(DetectionJourney, HandshakeIsJudgedWhileTheReadBoxIsStillOpen)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "9600,E,8,1", "--tx", "410012500", "--rx",
                                      "415062500", "--byte", "0x1F"}));
    startTool();
    ASSERT_TRUE(waitForLog(0, "silent: line 4800,N,8,1, device 9600,E,8,1"));

    // The user leaves "读取完毕！" open for a while; the scan goes on behind it.
    constexpr int kHoldMs = 3000;
    int openWhenFound = -1;
    messages->holdMs = [&](const QString &text) {
        if (text == QStringLiteral("检测到设备。"))
            openWhenFound = messages->openBoxes;
        return text == QStringLiteral("读取完毕！") ? kHoldMs : 0;
    };
    const size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(0));

    ASSERT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。"}));
    EXPECT_EQ(openWhenFound, 2) << "\"检测到设备。\" came after \"读取完毕！\" was closed";
    EXPECT_LT(messages->shown[1].atMs - messages->shown[0].atMs, kHoldMs);
    // The handshake went out and was answered at the same settings.
    EXPECT_EQ(probeSettingsSince(mark).back(), "9600,E,8,1");
    EXPECT_EQ(logSince(mark, "dev>tool F0 AA ").size(), 2u);
    // Once the box is closed the values are shown; the scan stays stopped.
    EXPECT_EQ(currentValues(), (QStringList{"410012500", "415062500", "9600", "9600", "偶"}));
    const size_t after = logMark();
    runFor(6 * kTickMs);
    EXPECT_TRUE(logSince(after, "tool>dev").empty());
    EXPECT_EQ(form->link().settings(), QStringLiteral("9600,E,8,1"));
    EXPECT_EQ(form->lamp(), Lamp::Green);
    expectRequestButtons(true);
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
    EXPECT_EQ(probeSettingsSince(mark),
              (std::vector<std::string>{
                      "4800,O,8,1", "4800,E,8,1", "9600,N,8,1", "9600,O,8,1", "9600,E,8,1",
                      "19200,N,8,1", "19200,O,8,1", "19200,E,8,1", "38400,N,8,1", "38400,O,8,1",
                      "38400,E,8,1", "57600,N,8,1", "57600,O,8,1", "57600,E,8,1", "1200,N,8,1",
                      "1200,N,8,1"}));
    EXPECT_EQ(form->link().settings(), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(currentValues(), (QStringList{"433920000", "434920000", "1200", "9600", "无"}));
    EXPECT_EQ(form->lamp(), Lamp::Green);
    expectRequestButtons(true);
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

    // 41 probes at positions 8 to 48, wrapping after 21.
    std::vector<std::string> expected;
    for (int p = 8; p <= 48; ++p)
        expected.push_back(kScanSettings[size_t((p - 1) % 21)]);
    EXPECT_EQ(probeSettingsSince(mark), expected);
    EXPECT_EQ(form->link().settings(), QStringLiteral("2400,E,8,1"));

    // Start-up red, green on the uncounted tick, then red and yellow by turns.
    ASSERT_GE(lamps.size(), 4u);
    EXPECT_EQ(std::vector<Lamp>(lamps.begin(), lamps.begin() + 4),
              (std::vector<Lamp>{Lamp::Red, Lamp::Green, Lamp::Red, Lamp::Yellow}));
    EXPECT_EQ(std::count(lamps.begin() + 2, lamps.end(), Lamp::Green), 0);
    EXPECT_EQ(form->lamp(), Lamp::Red);
    expectRequestButtons(false);

    // The timer is off: no more settings changes, no second message.
    const size_t after = logMark();
    runFor(8 * kTickMs);
    EXPECT_TRUE(logSince(after, "open").empty());
    EXPECT_TRUE(logSince(after, "line ").empty());
    EXPECT_TRUE(logSince(after, "tool>dev").empty());
    EXPECT_EQ(form->link().settings(), QStringLiteral("2400,E,8,1"));
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(form->lamp(), Lamp::Red);
}

// --- Write, read back, activate -------------------------------------------

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

    mark = logMark();
    button("Command2")->click();
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("写入成功！"));
    EXPECT_EQ(logSince(mark, "tool>dev F0 AA 88 F6 D0 19 A0 FA 22 1A 86 0D [4800,N,8,1]").size(), 1u);
    EXPECT_EQ(logSince(mark, "request write tx=433125000 rx=438500000 byte=86").size(), 1u);

    button("Command1")->click();
    ASSERT_TRUE(waitForBoxes(4));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("读取完毕！"));
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438500000", "4800", "38400", "无"}));

    // Now a new interface rate and parity: 9600, odd.
    form->setListIndex(ListControl::Combo1, 3); // "9600"
    form->setListIndex(ListControl::Combo3, 1); // "奇"
    mark = logMark();
    button("Command2")->click();
    ASSERT_TRUE(waitForBoxes(5));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("写入成功！"));
    EXPECT_EQ(logSince(mark, "request write tx=433125000 rx=438500000 byte=A7").size(), 1u);

    mark = logMark();
    button("Command3")->click();
    ASSERT_TRUE(waitForBoxes(6));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("激活成功！"));
    EXPECT_EQ(logSince(mark, "tool>dev F0 33 0D [4800,N,8,1]").size(), 1u);
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
    EXPECT_EQ(form->link().settings(), QStringLiteral("9600,O,8,1"));
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438500000", "9600", "38400", "奇"}));
    EXPECT_EQ(form->lamp(), Lamp::Green);
    expectRequestButtons(true);
    // Reading and detecting left the settings panel as the user set it.
    EXPECT_EQ(form->listText(ListControl::Combo1), QStringLiteral("9600"));
    EXPECT_EQ(form->listText(ListControl::Combo3), QStringLiteral("奇"));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("433125000"));
}

// --- What the line does to replies ----------------------------------------

using LineJourney = Journey;

TEST_F(LineJourney, EchoMakesAReadBeRejectedSilentlyButTheHandshakeAcceptsIt)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--echo"}));
    startTool();
    // The start-up read comes back behind its own echo: rejected, no box.
    ASSERT_TRUE(waitForLog(0, "dev>tool F0 AA "));
    EXPECT_EQ(logSince(0, "line>tool F0 CC 0D [4800,N,8,1] echo").size(), 1u);
    runFor(500);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(currentValues(), (QStringList{"", "", "", "", ""}));

    size_t mark = logMark();
    ASSERT_NO_FATAL_FAILURE(detect(0));
    EXPECT_EQ(messages->texts(), QStringList{"检测到设备。"});
    EXPECT_EQ(probeSettingsSince(mark), std::vector<std::string>{"4800,N,8,1"});
    EXPECT_EQ(logSince(mark, "echo").size(), 1u);
    EXPECT_EQ(form->lamp(), Lamp::Green);
    expectRequestButtons(true);
    EXPECT_EQ(currentValues(), (QStringList{"", "", "", "", ""})); // a handshake is not shown

    // "读取参数" on the echoing line: the reply comes, nothing is shown.
    mark = logMark();
    button("Command1")->click();
    ASSERT_TRUE(waitForLog(mark, "dev>tool F0 AA "));
    EXPECT_EQ(logSince(mark, "line>tool F0 CC 0D [4800,N,8,1] echo").size(), 1u);
    runFor(500);
    EXPECT_EQ(messages->texts(), QStringList{"检测到设备。"});
    EXPECT_EQ(currentValues(), (QStringList{"", "", "", "", ""}));
}

TEST_F(LineJourney, ReplyInOneBytePiecesIsGathered)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--split", "1", "--tx",
                                      "433125000", "--rx", "438250000", "--byte", "0xA3"}));
    startTool();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438250000", "9600", "19200", "奇"}));
    EXPECT_EQ(logSince(0, "dev>tool ").size(), 12u); // it did arrive byte by byte

    ASSERT_NO_FATAL_FAILURE(detect(1));
    const size_t mark = logMark();
    button("Command2")->click();
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。", "写入成功！"}));
    EXPECT_EQ(logSince(mark, "dev>tool ").size(), 3u);
}

TEST_F(LineJourney, LateReplyIsStillRead)
{
    constexpr int kDelayMs = 600;
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--delay",
                                      std::to_string(kDelayMs), "--tx", "433125000", "--rx",
                                      "438250000", "--byte", "0xA3"}));
    createWindow(kTickMs, kFailureMs);
    const qint64 loadedAt = messages->elapsedMs();
    form->Form_Load();

    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_GE(messages->shown[0].atMs - loadedAt, kDelayMs - 50);
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438250000", "9600", "19200", "奇"}));
}

TEST_F(LineJourney, StrayByteAheadOfAReplyInTheSameReceptionDropsTheReply)
{
    // The first reply (and every second one) has a 00 in front of it.
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--noise", "--delay", "800",
                                      "--tx", "433125000", "--rx", "438250000", "--byte", "0xA3"}));
    startTool();
    ASSERT_TRUE(waitForLog(0, "request read"));
    // A busy tool: by the time it reads the port, the stray byte and the
    // reply wait together and arrive as one reception starting with 00.
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    ASSERT_TRUE(sim->hasLine("line>tool 00 [4800,N,8,1] noise"));
    ASSERT_TRUE(sim->hasLine("dev>tool F0 AA 88 F6 D0 19 10 2A 1F 1A A3 0D [4800,N,8,1]"));
    runFor(500);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(currentValues(), (QStringList{"", "", "", "", ""}));

    // The next reply comes clean and is read; the dropped one left nothing behind.
    const size_t mark = logMark();
    form->Command1_Click();
    ASSERT_TRUE(waitForBoxes(1));
    EXPECT_TRUE(logSince(mark, "noise").empty());
    EXPECT_EQ(messages->texts(), QStringList{"读取完毕！"});
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438250000", "9600", "19200", "奇"}));
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
    size_t mark = logMark();
    button("Command2")->click();
    ASSERT_TRUE(waitForBoxes(3, 3000));
    ASSERT_FALSE(receivedAt.empty());
    EXPECT_EQ(logSince(mark, "tool>dev F0 AA A0 86 01 00 A0 86 01 00 00 0D [4800,N,8,1]").size(), 1u);
    EXPECT_EQ(logSince(mark, "dev>tool F0 EE 0A [4800,N,8,1]").size(), 1u);

    const RecordingBox::Shown report = messages->shown[2];
    EXPECT_EQ(report.text, QStringLiteral("写入不成功!"));
    EXPECT_EQ(report.title, QStringLiteral("Ostrevi电台参数设置程序"));
    EXPECT_EQ(report.icon, MessageIcon::None);
    const qint64 delay = report.atMs - receivedAt.front();
    EXPECT_GE(delay, 400);
    EXPECT_LE(delay, 1200);
    runFor(3 * kFailureMs);
    EXPECT_EQ(messages->texts(), (QStringList{"读取完毕！", "检测到设备。", "写入不成功!"}));

    // The same for "激    活".
    receivedAt.clear();
    mark = logMark();
    button("Command3")->click();
    ASSERT_TRUE(waitForBoxes(4, 3000));
    EXPECT_EQ(logSince(mark, "dev>tool F0 BB 0A [4800,N,8,1]").size(), 1u);
    EXPECT_EQ(messages->shown[3].text, QStringLiteral("激活不成功!"));
    EXPECT_EQ(messages->shown[3].title, QStringLiteral("Ostrevi电台参数设置程序"));
    ASSERT_FALSE(receivedAt.empty());
    EXPECT_GE(messages->shown[3].atMs - receivedAt.front(), 400);
    runFor(3 * kFailureMs);
    EXPECT_EQ(messages->shown.size(), 4u);
}

// --- Faults ---------------------------------------------------------------

using FaultJourney = Journey;

TEST_F(FaultJourney, DeviceKilledMidExchangeLeavesAClosedPortAndAQuietTool)
{
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "4800,N,8,1", "--delay", "1500"}));
    startTool();
    // The read is in the device; its reply is still to come.
    ASSERT_TRUE(waitForLog(0, "request read"));
    sim->stop(SIGKILL);
    EXPECT_FALSE(sim->hasLine("dev>tool"));

    ASSERT_TRUE(waitFor([&] { return !form->link().portOpen(); }, 5000));
    EXPECT_TRUE(messages->shown.empty());

    // Nothing keeps the tool busy once the device is gone.
    const double before = cpuSeconds();
    {
        QEventLoop idle;
        QTimer::singleShot(5000, &idle, &QEventLoop::quit);
        idle.exec();
    }
    const double used = cpuSeconds() - before;
    EXPECT_LT(used, 0.5) << "CPU seconds in 5 s after the device vanished";

    // Requests end silently, as on a closed port.
    form->Command1_Click();
    form->Command2_Click();
    form->Command3_Click();
    runFor(300);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(form->link().portOpen());

    // A new device on the same COM1; picking the port again reopens it.
    ASSERT_NO_FATAL_FAILURE(startSim({"--com", "1", "--settings", "4800,N,8,1", "--tx",
                                      "433125000", "--rx", "438250000", "--byte", "0xA3"}));
    emit child<QComboBox>("Combo4")->activated(0);
    EXPECT_TRUE(form->link().portOpen());
    EXPECT_TRUE(messages->shown.empty());
    ASSERT_TRUE(waitForLog(0, "open"));

    ASSERT_NO_FATAL_FAILURE(detect(0));
    EXPECT_EQ(messages->texts(), QStringList{"检测到设备。"});
    button("Command1")->click();
    ASSERT_TRUE(waitForBoxes(2));
    EXPECT_EQ(messages->texts(), (QStringList{"检测到设备。", "读取完毕！"}));
    EXPECT_EQ(currentValues(), (QStringList{"433125000", "438250000", "9600", "19200", "奇"}));
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
    ASSERT_EQ(peer.read(2000), bytes({0xF0, 0xCC, 0x0D}));
    const QByteArray reply = bytes({0xF0, 0xAA, 0x88, 0xF6, 0xD0, 0x19, 0x10, 0x2A, 0x1F, 0x1A,
                                    0xA3, 0x0D});
    peer.write(reply);
    ASSERT_TRUE(waitForBoxes(1));
    button("Command4")->click();
    ASSERT_EQ(peer.read(2 * kSlowTickMs), bytes({0xF0, 0xCC, 0x0D})); // the handshake
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
    qsizetype at = 0;
    int pieces = 0;
    while (at < burst.size()) {
        qsizetype end = std::min<qsizetype>(burst.size(), at + pieceSize(random));
        const qsizetype f0 = burst.indexOf(char(0xF0), at + 1);
        if (f0 > 0 && f0 < end)
            end = f0;
        peer.write(burst.mid(at, end - at));
        QTest::qWait(2);
        at = end;
        ++pieces;
    }
    ASSERT_GT(burst.count(char(0xF0)), 4);
    runFor(300);
    // Still between the same two ticks: the handshake is the request in flight.
    ASSERT_EQ(form->lamp(), Lamp::Green);

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
    ASSERT_EQ(peer.read(2000), bytes({0xF0, 0xCC, 0x0D}));
    peer.write(bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0x53, 0x0D}));
    ASSERT_TRUE(waitForBoxes(3));
    EXPECT_EQ(messages->texts().last(), QStringLiteral("读取完毕！"));
    EXPECT_EQ(currentValues(), (QStringList{"100000", "999999", "9600", "1200", "偶"}));
}
