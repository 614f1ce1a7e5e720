#include "paritymarks.h"

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

} // namespace

// Every line is also fed cut in two at each position and byte by byte: a
// mark or a doubled FF split across reads must come out the same.
TEST(ParityMarks, UnescapesMarksAndDoubledFFHoweverTheReadsFall)
{
    QByteArray plain;
    for (int v = 0; v < 0xFF; ++v)
        plain.append(char(v));
    const struct {
        QByteArray line, expected;
    } cases[] = {
        {plain, plain},
        {hex("f0ffff0d"), hex("f0ff0d")},
        {hex("ffffffff"), hex("ffff")},
        {hex("f0ff00ee0d"), hex("f03f0d")},
        {hex("ff00ffff0000"), hex("3f3f")}, // a damaged FF or 00 is one "?" too
        {hex("ffff0041"), hex("ff0041")},   // line FF 00 41: the NUL is data
        {hex("ff4142"), hex("ff4142")},     // stray FF x: no byte may vanish
        {hex("f0ffffff001200ff00ffffff0dff0000"), hex("f0ff3f003fff0d3f")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.line.toHex().toStdString());
        for (qsizetype cut = 0; cut <= c.line.size(); ++cut) {
            QByteArray carry;
            QByteArray out = unescapeParityMarks(c.line.left(cut), carry);
            out += unescapeParityMarks(c.line.mid(cut), carry);
            EXPECT_EQ(out, c.expected) << "cut at " << cut;
            EXPECT_TRUE(carry.isEmpty()) << "cut at " << cut;
        }
        QByteArray carry;
        QByteArray out;
        for (char b : c.line)
            out += unescapeParityMarks(QByteArray(1, b), carry);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(ParityMarks, UnfinishedSequenceWaitsInCarry)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(hex("01ff"), carry), hex("01"));
    EXPECT_EQ(carry, hex("ff"));
    EXPECT_EQ(unescapeParityMarks(QByteArray(), carry), QByteArray());
    EXPECT_EQ(carry, hex("ff"));
    EXPECT_EQ(unescapeParityMarks(hex("ff02"), carry), hex("ff02"));
    EXPECT_TRUE(carry.isEmpty());

    EXPECT_EQ(unescapeParityMarks(hex("f0ff"), carry), hex("f0"));
    EXPECT_EQ(unescapeParityMarks(hex("00"), carry), QByteArray());
    EXPECT_EQ(carry, hex("ff00"));
    EXPECT_EQ(unescapeParityMarks(hex("550d"), carry), hex("3f0d"));
    EXPECT_TRUE(carry.isEmpty());

    EXPECT_EQ(unescapeParityMarks(hex("ff00"), carry), QByteArray());
    EXPECT_EQ(unescapeParityMarks(hex("ff"), carry), hex("3f"));
    EXPECT_TRUE(carry.isEmpty());
}
