#include "help.h"

#include "fakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

TEST(HelpFilePath, InsertsSeparatorAfterPlainDirectory)
{
    EXPECT_EQ(helpFilePath(QStringLiteral("/opt/tool")), QStringLiteral("/opt/tool/help.htm"));
    EXPECT_EQ(helpFilePath(QStringLiteral("D:/tool")), QStringLiteral("D:/tool/help.htm"));
}

TEST(HelpFilePath, DoesNotDoubleATrailingSeparator)
{
    EXPECT_EQ(helpFilePath(QStringLiteral("/opt/tool/")), QStringLiteral("/opt/tool/help.htm"));
    EXPECT_EQ(helpFilePath(QStringLiteral("/")), QStringLiteral("/help.htm"));
}

TEST(HelpFilePath, DriveRootIsUsedAsIs)
{
    EXPECT_EQ(helpFilePath(QStringLiteral("D:\\")), QStringLiteral("D:\\help.htm"));
    EXPECT_EQ(helpFilePath(QStringLiteral("D:/")), QStringLiteral("D:/help.htm"));
}

namespace {

// A tool directory, with or without its help page.
class HelpButton : public ::testing::Test
{
protected:
    void putHelpPage()
    {
        QFile page(dir.filePath(QStringLiteral("help.htm")));
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html></html>");
    }

    UrlOpener recordingOpener(bool result)
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
    }

    QTemporaryDir dir;
    FakeMessageBox messages;
    std::vector<QUrl> asked;
};

} // namespace

TEST_F(HelpButton, MissingPageIsReportedWithoutLaunchingAnything)
{
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(openHelpPage(dir.path(), messages, recordingOpener(true)));
    EXPECT_TRUE(asked.empty());
    expectOnlyBrowserError();
}

TEST_F(HelpButton, DirectoryNamedLikeThePageCountsAsMissing)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("help.htm")));
    EXPECT_FALSE(openHelpPage(dir.path(), messages, recordingOpener(true)));
    EXPECT_TRUE(asked.empty());
    expectOnlyBrowserError();
}

TEST_F(HelpButton, MissingToolDirectoryIsReported)
{
    EXPECT_FALSE(openHelpPage(dir.path() + QStringLiteral("/gone"), messages,
                              recordingOpener(true)));
    EXPECT_TRUE(asked.empty());
    expectOnlyBrowserError();
}

TEST_F(HelpButton, BrowserThatCannotStartIsReported)
{
    putHelpPage();
    EXPECT_FALSE(openHelpPage(dir.path(), messages, recordingOpener(false)));
    EXPECT_EQ(asked.size(), 1u);
    expectOnlyBrowserError();
}

TEST_F(HelpButton, NoOpenerAtAllIsReportedNotCrashed)
{
    putHelpPage();
    EXPECT_FALSE(openHelpPage(dir.path(), messages, UrlOpener()));
    expectOnlyBrowserError();
}

TEST_F(HelpButton, OpensThePageBesideTheToolAsAFileUrl)
{
    putHelpPage();
    EXPECT_TRUE(openHelpPage(dir.path(), messages, recordingOpener(true)));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QUrl(QStringLiteral("file://") + dir.path() + QStringLiteral("/help.htm")));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HelpButton, TrailingSeparatorStillFindsThePage)
{
    putHelpPage();
    EXPECT_TRUE(openHelpPage(dir.path() + QStringLiteral("/"), messages, recordingOpener(true)));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].toLocalFile(), dir.path() + QStringLiteral("/help.htm"));
    EXPECT_TRUE(messages.shown.empty());
}
