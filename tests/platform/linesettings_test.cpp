#include "linesettings.h"

#include <gtest/gtest.h>

TEST(LineSettings, ReadsGoodStringsWithParityInEitherCase)
{
    using P = LineSettings::Parity;
    const struct {
        const char *text;
        qint32 speed;
        P parity;
        int dataBits, stopBits;
    } good[] = {
        {"57600,E,8,1", 57600, P::Even, 8, 1}, {"1200,O,8,1", 1200, P::Odd, 8, 1},
        {"4800,N,8,1", 4800, P::None, 8, 1},   {"4800,n,8,1", 4800, P::None, 8, 1},
        {"4800,o,8,1", 4800, P::Odd, 8, 1},    {"4800,e,8,1", 4800, P::Even, 8, 1},
        {"300,N,5,2", 300, P::None, 5, 2},     {"115200,E,7,1", 115200, P::Even, 7, 1},
        {"2147483647,N,8,1", 2147483647, P::None, 8, 1},
    };
    for (const auto &g : good) {
        SCOPED_TRACE(g.text);
        const auto s = parseLineSettings(QString::fromLatin1(g.text));
        ASSERT_TRUE(s);
        EXPECT_EQ(s->speed, g.speed);
        EXPECT_EQ(s->parity, g.parity);
        EXPECT_EQ(s->dataBits, g.dataBits);
        EXPECT_EQ(s->stopBits, g.stopBits);
    }
}

TEST(LineSettings, RejectsMalformedStrings)
{
    const char *bad[] = {
        "", ",,,", "9600", "9600,N,8", "9600,N,8,1,", "9600,N,8,1,0", " 9600,N,8,1", "9600 ,N,8,1",
        "9600, N,8,1", "9600,N,8,1 ", "9600;N;8;1", "+9600,N,8,1", "-9600,N,8,1", "0,N,8,1",
        "96OO,N,8,1", "9600.0,N,8,1", "2147483648,N,8,1", "99999999999999999999,N,8,1", "9600,,8,1",
        "9600,X,8,1", "9600,M,8,1", "9600,S,8,1", "9600,NN,8,1", "9600,N,4,1", "9600,N,9,1",
        "9600,N,08,1", "9600,N,8,0", "9600,N,8,3", "9600,N,8,1.5",
        "9600,N,8,\xef\xbc\x91", // full-width digits
        "\xef\xbc\x99\xef\xbc\x96\xef\xbc\x90\xef\xbc\x90,N,8,1",
    };
    for (const char *text : bad)
        EXPECT_FALSE(parseLineSettings(QString::fromUtf8(text))) << text;
}
