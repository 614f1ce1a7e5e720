// The real window, link and port map over a pseudo-terminal: what the
// status bar says, and a comN link made after start-up found at the next pick.
#include "app/form1.h"
#include "fakes.h"
#include "pseudoterminal.h"
#include "scopedenv.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PortPick, FindsALinkMadeAfterStartUpAndTheStatusBarSaysWhatEachOpenDid)
{
    QTemporaryDir config;
    const ScopedEnv configHome("XDG_CONFIG_HOME", config.path().toUtf8());
    const QString ports = config.path() + QStringLiteral("/radio-setup/ports/");
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isValid() && QDir().mkpath(ports));
    ASSERT_TRUE(QFile::link(pty.path(), ports + QStringLiteral("com1")));
    Form1Seams seams = Form1Seams::forDesktop();
    auto *boxes = new FakeMessageBox;
    seams.messages.reset(boxes);
    seams.Timer1 = std::make_unique<FakeTimer>();
    Form1 form(std::move(seams));
    form.Form_Load();
    auto *list = form.findChild<QComboBox *>(QStringLiteral("Combo4"));
    const auto panel = [&] { return form.findChild<QLabel *>(QStringLiteral("Panel1"))->accessibleName(); };
    const auto pick = [&](const QString &device, int n) {
        ASSERT_TRUE(QFile::link(device, ports + QStringLiteral("com%1").arg(n)));
        list->setCurrentIndex(n - 1);
        emit list->activated(n - 1);
    };
    EXPECT_EQ(panel(), QStringLiteral("COM1：") + pty.path() + QStringLiteral(" 4800,N,8,1"));

    pick(pty.path(), 16);
    EXPECT_TRUE(list->itemData(15, Qt::ToolTipRole).toString().startsWith(QStringLiteral("COM16：") + pty.path()));
    EXPECT_EQ(panel(), QStringLiteral("COM16：") + pty.path() + QStringLiteral(" 4800,N,8,1"));
    pty.hangUp();
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel().endsWith(QStringLiteral("已断开（适配器被拔出），插好后请重新选择此串口")); }));

    pick(QStringLiteral("/nonexistent/ttyUSB9"), 15);
    EXPECT_EQ(boxes->shown, QStringList{"此串口已被占用，请换另一串口！"});
    EXPECT_EQ(panel(), QStringLiteral("COM15：") + ports + QStringLiteral("com15 不存在（设备未连接或已拔出）"));
}
