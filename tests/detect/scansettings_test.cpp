#include "scansettings.h"

#include <gtest/gtest.h>

namespace {

// The order the scan must try, written out here rather than taken from the
// tool's table.
const char *const kOrder[21] = {
    "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",  "2400,N,8,1",  "2400,O,8,1",
    "2400,E,8,1",  "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",  "9600,N,8,1",
    "9600,O,8,1",  "9600,E,8,1",  "19200,N,8,1", "19200,O,8,1", "19200,E,8,1",
    "38400,N,8,1", "38400,O,8,1", "38400,E,8,1", "57600,N,8,1", "57600,O,8,1",
    "57600,E,8,1",
};

std::optional<QString> next(const char *s)
{
    return nextScanSettings(QString::fromLatin1(s));
}

} // namespace

TEST(ScanSettingsNext, EveryEntryLeadsToTheFollowingOne)
{
    for (int i = 0; i < 21; ++i) {
        SCOPED_TRACE(kOrder[i]);
        EXPECT_EQ(next(kOrder[i]), QString::fromLatin1(kOrder[(i + 1) % 21]));
    }
}

TEST(ScanSettingsNext, LastWrapsToFirst)
{
    EXPECT_EQ(next("57600,E,8,1"), QStringLiteral("1200,N,8,1"));
}

TEST(ScanSettingsNext, StartUpSettingsAreSeventhSoScanGoesToEighth)
{
    EXPECT_EQ(next("4800,N,8,1"), QStringLiteral("4800,O,8,1"));
}

TEST(ScanSettingsNext, LowerCaseParityReadBackIsRecognised)
{
    EXPECT_EQ(next("4800,n,8,1"), QStringLiteral("4800,O,8,1"));
    EXPECT_EQ(next("57600,e,8,1"), QStringLiteral("1200,N,8,1"));
    EXPECT_EQ(next("9600,o,8,1"), QStringLiteral("9600,E,8,1"));
}

TEST(ScanSettingsNext, StringsInNoPositionHaveNoNext)
{
    EXPECT_EQ(next("115200,N,8,1"), std::nullopt);
    EXPECT_EQ(next("9600,N,8,2"), std::nullopt);
    EXPECT_EQ(next("9600,N,7,1"), std::nullopt);
    EXPECT_EQ(next("9600,M,8,1"), std::nullopt);
    EXPECT_EQ(next(" 9600,N,8,1"), std::nullopt);
    EXPECT_EQ(next("9600,N,8,1 "), std::nullopt);
    EXPECT_EQ(next("9600, N,8,1"), std::nullopt);
    EXPECT_EQ(next("9600"), std::nullopt);
    EXPECT_EQ(next(""), std::nullopt);
    EXPECT_EQ(nextScanSettings(QStringLiteral("９６００,N,8,1")), std::nullopt);
}

TEST(ScanSettingsTable, HoldsTheTwentyOneStringsInScanOrder)
{
    ASSERT_EQ(ScanSettings.size(), 21u);
    for (int i = 0; i < 21; ++i)
        EXPECT_STREQ(ScanSettings[static_cast<std::size_t>(i)], kOrder[i]);
}
