#include "paritymarks.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

} // namespace

TEST(ParityMarks, PassesPlainBytesUnaltered)
{
    QByteArray all;
    for (int v = 0; v < 0xFF; ++v)
        all.append(static_cast<char>(v));
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(all, carry), all);
    EXPECT_TRUE(carry.isEmpty());
}

TEST(ParityMarks, DoubledFFIsOneFF)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xF0, 0xFF, 0xFF, 0x0D}), carry), bytes({0xF0, 0xFF, 0x0D}));
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0xFF, 0xFF, 0xFF}), carry), bytes({0xFF, 0xFF}));
    EXPECT_TRUE(carry.isEmpty());
}

TEST(ParityMarks, MarkedByteBecomesQuestionMark)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xF0, 0xFF, 0x00, 0xEE, 0x0D}), carry), bytes({0xF0, 0x3F, 0x0D}));
    // A damaged byte whose value is FF or 00 is still one "?".
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0x00, 0xFF, 0xFF, 0x00, 0x00}), carry), bytes({0x3F, 0x3F}));
    EXPECT_TRUE(carry.isEmpty());
}

TEST(ParityMarks, NulAfterRealFFStaysData)
{
    // Line bytes FF 00 41 arrive doubled: FF FF 00 41.
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0xFF, 0x00, 0x41}), carry), bytes({0xFF, 0x00, 0x41}));
}

TEST(ParityMarks, DoubledFFSplitAcrossReads)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0x01, 0xFF}), carry), bytes({0x01}));
    EXPECT_EQ(carry, bytes({0xFF}));
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0x02}), carry), bytes({0xFF, 0x02}));
    EXPECT_TRUE(carry.isEmpty());
}

TEST(ParityMarks, MarkSplitAfterEveryByte)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xF0, 0xFF}), carry), bytes({0xF0}));
    EXPECT_EQ(unescapeParityMarks(bytes({0x00}), carry), QByteArray());
    EXPECT_EQ(carry, bytes({0xFF, 0x00}));
    EXPECT_EQ(unescapeParityMarks(bytes({0x55, 0x0D}), carry), bytes({0x3F, 0x0D}));
    EXPECT_TRUE(carry.isEmpty());

    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0x00}), carry), QByteArray());
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF}), carry), bytes({0x3F}));
    EXPECT_TRUE(carry.isEmpty());
}

TEST(ParityMarks, EmptyReadKeepsCarry)
{
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF}), carry), QByteArray());
    EXPECT_EQ(unescapeParityMarks(QByteArray(), carry), QByteArray());
    EXPECT_EQ(carry, bytes({0xFF}));
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF}), carry), bytes({0xFF}));
}

TEST(ParityMarks, ByteByByteMatchesWholeChunk)
{
    const QByteArray line = bytes({0xF0, 0xFF, 0xFF, 0xFF, 0x00, 0x12, 0x00, 0xFF, 0x00, 0xFF, 0xFF,
                                   0xFF, 0x0D, 0xFF, 0x00, 0x00});
    const QByteArray expected = bytes({0xF0, 0xFF, 0x3F, 0x00, 0x3F, 0xFF, 0x0D, 0x3F});
    for (int cut = 0; cut <= line.size(); ++cut) {
        QByteArray carry;
        QByteArray out = unescapeParityMarks(line.left(cut), carry);
        out += unescapeParityMarks(line.mid(cut), carry);
        EXPECT_EQ(out, expected) << "cut at " << cut;
        EXPECT_TRUE(carry.isEmpty()) << "cut at " << cut;
    }
    QByteArray carry;
    QByteArray out;
    for (char c : line)
        out += unescapeParityMarks(QByteArray(1, c), carry);
    EXPECT_EQ(out, expected);
}

TEST(ParityMarks, StrayFFPairPassesThrough)
{
    // Not something the driver sends; no byte may vanish for it.
    QByteArray carry;
    EXPECT_EQ(unescapeParityMarks(bytes({0xFF, 0x41, 0x42}), carry), bytes({0xFF, 0x41, 0x42}));
    EXPECT_TRUE(carry.isEmpty());
}
