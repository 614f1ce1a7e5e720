#include "linesettings.h"

#include <gtest/gtest.h>

TEST(LineSettings, ReadsEveryScanString)
{
    const auto s = parseLineSettings(QStringLiteral("57600,E,8,1"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->speed, 57600);
    EXPECT_EQ(s->parity, LineSettings::Parity::Even);
    EXPECT_EQ(s->dataBits, 8);
    EXPECT_EQ(s->stopBits, 1);

    const auto odd = parseLineSettings(QStringLiteral("1200,O,8,1"));
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->speed, 1200);
    EXPECT_EQ(odd->parity, LineSettings::Parity::Odd);

    const auto none = parseLineSettings(QStringLiteral("4800,N,8,1"));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->speed, 4800);
    EXPECT_EQ(none->parity, LineSettings::Parity::None);
}

TEST(LineSettings, TakesParityLetterInEitherCase)
{
    const auto n = parseLineSettings(QStringLiteral("4800,n,8,1"));
    const auto o = parseLineSettings(QStringLiteral("4800,o,8,1"));
    const auto e = parseLineSettings(QStringLiteral("4800,e,8,1"));
    ASSERT_TRUE(n && o && e);
    EXPECT_EQ(n->parity, LineSettings::Parity::None);
    EXPECT_EQ(o->parity, LineSettings::Parity::Odd);
    EXPECT_EQ(e->parity, LineSettings::Parity::Even);
}

TEST(LineSettings, TakesDataBitsFiveToEightAndOneOrTwoStopBits)
{
    const auto five = parseLineSettings(QStringLiteral("300,N,5,2"));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->speed, 300);
    EXPECT_EQ(five->dataBits, 5);
    EXPECT_EQ(five->stopBits, 2);
    EXPECT_TRUE(parseLineSettings(QStringLiteral("115200,E,7,1")));
    EXPECT_TRUE(parseLineSettings(QStringLiteral("2147483647,N,8,1")));
}

TEST(LineSettings, RejectsMalformedStrings)
{
    const char *bad[] = {
        "",
        ",,,",
        "9600",
        "9600,N,8",
        "9600,N,8,1,",
        "9600,N,8,1,0",
        " 9600,N,8,1",
        "9600 ,N,8,1",
        "9600, N,8,1",
        "9600,N,8,1 ",
        "9600;N;8;1",
        "+9600,N,8,1",
        "-9600,N,8,1",
        "0,N,8,1",
        "96OO,N,8,1",
        "9600.0,N,8,1",
        "2147483648,N,8,1",
        "99999999999999999999,N,8,1",
        "9600,,8,1",
        "9600,X,8,1",
        "9600,M,8,1",
        "9600,S,8,1",
        "9600,NN,8,1",
        "9600,N,4,1",
        "9600,N,9,1",
        "9600,N,08,1",
        "9600,N,8,0",
        "9600,N,8,3",
        "9600,N,8,1.5",
        "9600,N,8,\xef\xbc\x91", // a full-width digit one
        "\xef\xbc\x99\xef\xbc\x96\xef\xbc\x90\xef\xbc\x90,N,8,1",
    };
    for (const char *text : bad)
        EXPECT_FALSE(parseLineSettings(QString::fromUtf8(text))) << text;
}
