// radioctl's progress line as a terminal gets it: rewritten with ANSI's erase,
// or (an older Windows console) with spaces over what is left of a longer old
// line, a Chinese or full-width character two columns wide; a line a step to a file.
#include "cli/output.h"

#include <QStringList>

#include <gtest/gtest.h>

static QStringList written(bool inPlace, Progress::Erase erase)
{
    QStringList out;
    {
        Progress progress(inPlace, erase, [&](const QString &text) { out << text; });
        progress.show(QStringLiteral("探测 57600,E,8,1（21/21）"));
        progress.show(QStringLiteral("探测 4800,N,8,1（2/21）"));
    } // gone, it takes its line off the screen
    return out;
}

TEST(Progress, RewritesItsLineWithEscapesOrSpacesAndWritesLinesToAFile)
{
    EXPECT_EQ(written(true, Progress::Erase::Escape),
              (QStringList{"\r探测 57600,E,8,1（21/21）\x1b[K", "\r探测 4800,N,8,1（2/21）\x1b[K", "\r\x1b[K"}));
    // 25 columns, then 23 and two spaces; 23 spaces to clear.
    EXPECT_EQ(written(true, Progress::Erase::Spaces),
              (QStringList{"\r探测 57600,E,8,1（21/21）", "\r探测 4800,N,8,1（2/21）  ", "\r" + QString(23, u' ') + "\r"}));
    EXPECT_EQ(written(false, Progress::Erase::Escape),
              (QStringList{"探测 57600,E,8,1（21/21）\n", "探测 4800,N,8,1（2/21）\n"}));
}
