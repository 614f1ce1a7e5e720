#include "help.h"

#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

TEST(HelpFilePath, AddsASeparatorOnlyWhereNoneEnds)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/opt/tool", "/opt/tool/help.htm"}, {"D:/tool", "D:/tool/help.htm"},
        {"/opt/tool/", "/opt/tool/help.htm"}, {"/", "/help.htm"},
        {"D:\\", "D:\\help.htm"},             {"D:/", "D:/help.htm"},
    };
    for (const auto &[dir, path] : cases)
        EXPECT_EQ(helpFilePath(QString::fromLatin1(dir)), QString::fromLatin1(path)) << dir;
}

namespace {

// A tool directory, with or without its help page.
class HelpButton : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    void putHelpPage()
    {
        QFile page(dir.filePath(QStringLiteral("help.htm")));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html></html>");
    }

    UrlOpener opener(bool result)
    {
        return [this, result](const QUrl &url) {
            asked.push_back(url);
            return result;
        };
    }

    void expectOnlyBrowserError()
    {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("调用浏览器错误！"));
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("错误："));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
        messages.shown.clear();
    }

    QTemporaryDir dir;
    FakeMessageBox messages;
    std::vector<QUrl> asked;
};

} // namespace

TEST_F(HelpButton, MissingPageIsReportedWithoutLaunchingAnything)
{
    // No page, a directory named like the page, no tool directory at all.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("dirpage/help.htm")));
    for (const char *sub : {"", "/dirpage", "/gone"}) {
        SCOPED_TRACE(sub);
        EXPECT_FALSE(openHelpPage(dir.path() + QLatin1String(sub), messages, opener(true)));
        expectOnlyBrowserError();
    }
    EXPECT_TRUE(asked.empty());
}

TEST_F(HelpButton, BrowserThatCannotStartOrNoOpenerIsReported)
{
    putHelpPage();
    EXPECT_FALSE(openHelpPage(dir.path(), messages, opener(false)));
    EXPECT_EQ(asked.size(), 1u);
    expectOnlyBrowserError();
    EXPECT_FALSE(openHelpPage(dir.path(), messages, UrlOpener()));
    expectOnlyBrowserError();
}

TEST_F(HelpButton, OpensThePageBesideTheToolAsAFileUrl)
{
    putHelpPage();
    EXPECT_TRUE(openHelpPage(dir.path(), messages, opener(true)));
    EXPECT_TRUE(openHelpPage(dir.path() + QStringLiteral("/"), messages, opener(true)));
    const QUrl page(QStringLiteral("file://") + dir.path() + QStringLiteral("/help.htm"));
    EXPECT_EQ(asked, (std::vector<QUrl> {page, page}));
    EXPECT_TRUE(messages.shown.empty());
}
