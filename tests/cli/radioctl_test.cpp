// radioctl as a script runs it: a child process with its own state folder,
// on COM1 mapped to radio-sim, judged by its exit code, its output and the
// bytes the simulator logged.
#include "simprocess.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <csignal>

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

class Radioctl : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void startSim(const QStringList &args, SimProcess &unit)
    {
        ASSERT_TRUE(unit.start(args, dir.filePath(QStringLiteral("config/radio-setup/ports"))));
    }
    void startSim(const QStringList &args) { startSim(args, sim); }
    QString deviceOf(int com) { return QFileInfo(dir.filePath(QStringLiteral("config/radio-setup/ports/com%1").arg(com))).canonicalFilePath(); }

    void launch(QProcess &p, const QStringList &args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PTYSHIM_PATH));
        // A sanitized radioctl has the shim ahead of its runtime.
        env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0:") + env.value(QStringLiteral("ASAN_OPTIONS")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), dir.filePath(QStringLiteral("state")));
        p.setProcessEnvironment(env);
        // Another build in its place, such as radioctl.exe under wine: only the
        // wine script sets this, as ctest clears it (tests/windows/radioctl-wine.sh).
        const QString launcher = env.value(QStringLiteral("RADIOCTL_LAUNCHER"));
        p.start(launcher.isEmpty() ? QStringLiteral(RADIOCTL_PATH) : launcher, args);
    }

    Outcome finish(QProcess &p)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    Outcome run(const QStringList &args)
    {
        QProcess p;
        launch(p, args);
        return finish(p);
    }

    QTemporaryDir dir;
    SimProcess sim;
};

// A probe ends when the unit answers: the margin bounds only how late a
// loaded machine may make that answer, so it is generous.
const QStringList kMargin{"--probe-margin", "1000"};

const QStringList kWrite{"write", "--settings", "4800,N,8,1", "--tx", "433125000", "--rx", "438500000",
                         "--interface", "9600", "--channel", "38400", "--parity", "odd"};

struct Case {
    const char *name;
    QStringList sim;      // after --settings 4800,N,8,1
    QStringList radioctl;
    int code;
    const char *out;      // all of standard output, or none to skip
    const char *err;      // a piece of standard error
    const char *log;      // a line of the simulator's, or none: nothing was sent
    const char *absent = nullptr; // a piece standard error must not have
};

const Case kCases[] = {
    {"ActivateFollowsTheUnitToItsNewRate", {"--byte", "0x6D"},
     QStringList{"activate", "--follow", "--settings", "4800,N,8,1"} + kMargin, 0, "38400,O,8,1\n",
     "激活成功！", "tool>dev F0 CC 0D [38400,O,8,1]", "注意"},
    {"WrongAcknowledgementIsRefusal", {"--bad-ack"}, kWrite, 4, "", "写入不成功!", "dev>tool F0 EE 0A"},
    {"StoredOtherwiseIsADifference", {"--misstore", "tx"}, kWrite, 5, "", "回读与写入不符：发射频点（写入 433125000，读回 433125001）",
     "request write"},
    {"SilentUnitIsNoAnswer", {"--silent"}, {"read", "--settings", "4800,N,8,1", "--timeout", "300"}, 3, "", "没有应答",
     "silent: --silent"},
    {"MissingProfileSendsNothing", {}, {"write", "--profile", "/nonexistent/master.json"}, 1, "", "找不到参数文件", nullptr},
    {"EndlessProfileSendsNothing", {}, {"write", "--profile", "/dev/zero"}, 1, "", "/dev/zero 过大", nullptr},
    {"AMissingDeviceIsNamedOnce", {}, {"read", "--port", "/nonexistent/tty", "--settings", "4800,N,8,1"}, 2, "",
     "/nonexistent/tty 不存在", nullptr, "tty：/"},
    {"UnchangedIsNotWritten", {}, {"write", "--settings", "4800,N,8,1", "--channel", "9600", "--trace"}, 0, "",
     "电台的参数已与要写入的相同。", "request read", "-> F0 AA"},
    {"DryRunOnlyReads", {}, {"write", "--settings", "4800,N,8,1", "--interface", "9600", "--dry-run", "--trace"}, 0,
     "", "接口速率：4800 → 9600\n", "request read", "-> F0 AA"},
    {"UnnamedStoredParityIsNotGuessed", {"--byte", "0x3E"}, {"write", "--settings", "4800,N,8,1", "--interface", "9600", "--trace"},
     6, "", "校验格式（无法识别）", "request read", "-> F0 AA"},
    {"ForceWritesWhatTheUnitAlreadyHas", {}, {"write", "--settings", "4800,N,8,1", "--channel", "9600", "--force"}, 0, "",
     "写入成功！", "request write"},
    {"NoVerifyTakesTheWriteOnTrust", {"--ignore-writes"}, kWrite + QStringList{"--no-verify"}, 0, "", "写入成功！", "request write"},
    {"FindingNoUnitIsExit3", {"--silent"}, {"find", "--probe-margin", "0"}, 3, "", "检测不到设备！", "silent: --silent"},
};

class Outcomes : public Radioctl, public ::testing::WithParamInterface<Case>
{
};

} // namespace

TEST_P(Outcomes, ExitCodeOutputAndLineTraffic)
{
    const Case &c = GetParam();
    ASSERT_NO_FATAL_FAILURE(startSim(QStringList{"--settings", "4800,N,8,1"} + c.sim));
    const Outcome o = run(c.radioctl);
    EXPECT_EQ(o.code, c.code) << o.err.toStdString();
    if (c.out) {
        EXPECT_EQ(o.out, QString::fromUtf8(c.out));
    }
    EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.err))) << o.err.toStdString();
    if (c.absent) {
        EXPECT_FALSE(o.err.contains(QString::fromUtf8(c.absent))) << o.err.toStdString();
    }
    if (c.log)
        EXPECT_TRUE(sim.waitForLine(QString::fromUtf8(c.log)));
    else
        EXPECT_TRUE(sim.linesWith(QStringLiteral("tool>dev")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Radioctl, Outcomes, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Radioctl, FindsAUnitAtTheLastSettingTriesThatFirstReadsItAsJsonAndKeepsThatBeforeAWrite)
{
    // Garbage at every wrong setting must not pass for the unit.
    ASSERT_NO_FATAL_FAILURE(startSim({"--settings", "57600,E,8,1", "--tx", "433000", "--rx", "433500", "--byte", "0xD2", "--garbage", "--seed", "7"}));
    // bench/radioctl-detect.sh times the default margin.
    Outcome o = run(QStringList{"detect"} + kMargin);
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, QStringLiteral("57600,E,8,1\n"));
    EXPECT_TRUE(o.err.contains(QStringLiteral("探测 1200,N,8,1（1/21）\n")));
    // The log may still be on its way when radioctl has ended.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.readsAt(0).size() == 21; }, 5000)) << sim.readsAt(0).size();
    EXPECT_FALSE(sim.linesWith(QStringLiteral("] garbage")).isEmpty());
    // One open for all 21 probes, DTR and RTS raised throughout.
    ASSERT_TRUE(sim.waitForLine(QStringLiteral(" close")));
    EXPECT_EQ(sim.linesWith(QStringLiteral(" open")).size(), 1);
    const QStringList modem = sim.linesWith(QStringLiteral(" modem "));
    EXPECT_TRUE(!modem.isEmpty() && modem.filter(QStringLiteral("drop")).isEmpty() && modem.last().endsWith(QStringLiteral("DTR=on RTS=on")))
        << modem.join(QLatin1Char('\n')).toStdString();

    const qsizetype mark = sim.lineCount();
    o = run(QStringList{"read", "--json"} + kMargin);
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    EXPECT_EQ(o.out, QStringLiteral(R"({"tx_hz": 433000, "rx_hz": 433500, "interface_rate": 57600, )"
                                    R"("channel_rate": 19200, "parity": "even"})" "\n"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.readsAt(mark) == QStringList{"57600,E,8,1", "57600,E,8,1"}; }, 5000))
        << sim.readsAt(mark).join(' ').toStdString();

    // A write first keeps what the unit held, as the profile read gave it.
    const QString held = o.out;
    o = run(QStringList{"write", "--parity", "odd"} + kMargin);
    QFile backup(QRegularExpression(QStringLiteral("原参数已备份到 (\\S+)")).match(o.err).captured(1));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly)) << o.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(backup.readAll()), held);
}

// Units at three settings on COM1, COM3 and COM4, nothing behind COM2, and
// COM5's unit held by another radioctl: one run probes them all at once,
// names the holder and remembers where each answered, so the next run finds
// each with its first probe. Ctrl-C wakes the holder's wait at once.
TEST_F(Radioctl, FindProbesEveryPortAtOnceNamesAHeldOneAndCtrlCEndsTheHolder)
{
    const char *kSettings[] = {"1200,E,8,1", nullptr, "2400,N,8,1", "1200,N,8,1", "4800,N,8,1"};
    std::array<SimProcess, 5> units;
    for (int n : {1, 3, 4, 5}) {
        const QStringList quiet = n == 5 ? QStringList{"--silent"} : QStringList{};
        ASSERT_NO_FATAL_FAILURE(startSim(QStringList{"--com", QString::number(n), "--settings", kSettings[n - 1]} + quiet, units[n - 1]));
    }
    QProcess holder;
    launch(holder, {"read", "--port", "COM5", "--settings", "4800,N,8,1", "--timeout", "600000"});
    ASSERT_TRUE(units[4].waitForLine(QStringLiteral("request read")));
    const QString held = QStringLiteral("%1 正被其他程序占用（radioctl，进程 %2）").arg(deviceOf(5)).arg(holder.processId());

    Outcome o = run(QStringList{"find", "--json"} + kMargin);
    EXPECT_EQ(o.code, 0) << o.err.toStdString();
    const QString kFound = QStringLiteral(R"({"device":"%1","port":"COM%2","settings":"%3"})");
    EXPECT_EQ(o.out, QStringLiteral("[%1,%2,%3,{\"device\":\"%4\",\"port\":\"COM5\",\"reason\":\"%5\",\"settings\":null}]\n")
                         .arg(kFound.arg(deviceOf(1), "1", kSettings[0]), kFound.arg(deviceOf(3), "3", kSettings[2]),
                              kFound.arg(deviceOf(4), "4", kSettings[3]), deviceOf(5), held));
    // One progress line for the ports still probing, the one furthest behind counted.
    EXPECT_TRUE(o.err.contains(QStringLiteral("探测 COM1 COM3（2/21）\n"))) << o.err.toStdString();

    std::array<qsizetype, 4> marks;
    for (int n : {0, 2, 3})
        marks[n] = units[n].lineCount();
    o = run({"find"});
    EXPECT_EQ(o.out, QStringLiteral("COM1  %1  1200,E,8,1\nCOM3  %2  2400,N,8,1\nCOM4  %3  1200,N,8,1\n")
                         .arg(deviceOf(1), deviceOf(3), deviceOf(4))) << o.err.toStdString();
    for (int n : {0, 2, 3}) {
        ASSERT_TRUE(units[n].waitForLine(QStringLiteral(" close"), marks[n]));
        EXPECT_EQ(units[n].linesWith(QStringLiteral("tool>dev F0 CC 0D"), marks[n]).size(), 1) << n;
    }
    const qsizetype mark = units[4].lineCount();
    ::kill(pid_t(holder.processId()), SIGINT);
    EXPECT_EQ(finish(holder).code, 130);
    EXPECT_TRUE(units[4].waitForLine(QStringLiteral(" close"), mark));
}
