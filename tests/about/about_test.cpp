#include "about/form2.h"
#include "about/help.h"
#include "fakes.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

TEST(HelpFilePath, AddsASeparatorOnlyWhereNoneEnds)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/opt/tool", "/opt/tool/help.htm"}, {"/opt/tool/", "/opt/tool/help.htm"},
        {"D:\\", "D:\\help.htm"},             {"D:/", "D:/help.htm"},
    };
    for (const auto &[dir, path] : cases)
        EXPECT_EQ(helpFilePath(QString::fromLatin1(dir)), QString::fromLatin1(path)) << dir;
}

TEST(HelpButton, OpensThePageAsAFileUrlOrSaysTheBrowserFailed)
{
    QTemporaryDir dir;
    QFile page(dir.filePath(QStringLiteral("help.htm")));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    const struct {
        bool pagePresent, browserStarts, opened;
        int asked;
    } cases[] = {{true, true, true, 1}, {true, false, false, 1}, {false, true, false, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        FakeMessageBox boxes;
        std::vector<QUrl> asked;
        const auto open = [&](const QUrl &url) {
            asked.push_back(url);
            return c.browserStarts;
        };
        EXPECT_EQ(openHelpPage(c.pagePresent ? dir.path() : dir.filePath(QStringLiteral("gone")), boxes, open),
                  c.opened);
        ASSERT_EQ(int(asked.size()), c.asked);
        if (c.asked) {
            EXPECT_EQ(asked[0], QUrl::fromLocalFile(page.fileName()));
        }
        EXPECT_EQ(boxes.shown, c.opened ? QStringList() : QStringList{"错误：|调用浏览器错误！"});
        if (!c.opened) {
            EXPECT_EQ(boxes.icons, std::vector<MessageIcon>{MessageIcon::Critical});
        }
    }
}

// Looks at each About window while it is shown, then closes it with its button.
TEST(AboutWindow, IsModalWhileShownAndAFreshWindowEachTime)
{
    std::vector<QWidget *> seen;
    const auto look = [&] {
        QWidget *w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        seen.push_back(w);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("关于"));
        EXPECT_EQ(w->size(), QSize(373, 232));
        EXPECT_EQ(w->minimumSize(), w->maximumSize());
        for (QWidget *c : w->findChildren<QWidget *>()) {
            EXPECT_TRUE(w->rect().contains(c->geometry())) << c->objectName().toStdString();
            EXPECT_EQ(c->focusPolicy() != Qt::NoFocus, c->objectName() == QStringLiteral("Command3"));
        }
        // 623 and 1750 twips: rounded to the nearest pixel, not cut short.
        EXPECT_EQ(w->findChild<QLabel *>(QStringLiteral("Label2"))->pos(), QPoint(42, 71));
        EXPECT_EQ(w->findChild<QLabel *>(QStringLiteral("Label4"))->pos(), QPoint(25, 117));
        w->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
    };
    QTimer watchdog; // a failing check must not leave the window open for ever
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    watchdog.start(3000);
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, look);
        showAboutWindow(QIcon());
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
