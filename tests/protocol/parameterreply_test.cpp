#include "parameterreply.h"

#include <gtest/gtest.h>

using protocol::Bytes;
using protocol::DecodeParameterReply;

namespace {

const Bytes kReply = {0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};

Bytes withSettings(std::uint8_t settings)
{
    Bytes frame = kReply;
    frame[10] = settings;
    return frame;
}

} // namespace

TEST(ParameterReply, DecodesAllFiveTexts)
{
    const auto texts = DecodeParameterReply(kReply);
    EXPECT_EQ(texts.Text6, "100000");
    EXPECT_EQ(texts.Text7, "999999");
    EXPECT_EQ(texts.Text3, "9600");
    EXPECT_EQ(texts.Text4, "19200");
    EXPECT_EQ(texts.Text5, "奇");
}

TEST(ParameterReply, DecodesSettingsByteFields)
{
    const auto zero = DecodeParameterReply(withSettings(0x00));
    EXPECT_EQ(zero.Text3, "1200");
    EXPECT_EQ(zero.Text4, "1200");
    EXPECT_EQ(zero.Text5, "无");
    EXPECT_EQ(DecodeParameterReply(withSettings(0x10)).Text5, "偶");
    EXPECT_EQ(DecodeParameterReply(withSettings(0x20)).Text5, "奇");
    const auto c3 = DecodeParameterReply(withSettings(0xC3));
    EXPECT_EQ(c3.Text3, "9600");
    EXPECT_EQ(c3.Text4, "19200");
}

TEST(ParameterReply, ParityFieldThreeLeavesText5Alone)
{
    const auto texts = DecodeParameterReply(withSettings(0x30));
    EXPECT_EQ(texts.Text3, "1200");
    EXPECT_EQ(texts.Text4, "1200");
    EXPECT_EQ(texts.Text5, std::nullopt);
}

TEST(ParameterReply, IgnoresTheTwelfthByteAndBeyond)
{
    Bytes frame = {0xF0, 0xAA, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x55, 0x66, 0x77};
    const auto texts = DecodeParameterReply(frame);
    EXPECT_EQ(texts.Text6, "0");
    EXPECT_EQ(texts.Text7, "4294967295");
    EXPECT_EQ(texts.Text5, "无");
}

TEST(ParameterReply, StopsAtTheFirstMissingByte)
{
    for (std::size_t size = 0; size <= kReply.size(); ++size) {
        SCOPED_TRACE(size);
        const auto texts = DecodeParameterReply(Bytes(kReply.begin(), kReply.begin() + size));
        EXPECT_EQ(texts.Text6, size >= 6 ? std::optional<std::string>("100000") : std::nullopt);
        EXPECT_EQ(texts.Text7, size >= 10 ? std::optional<std::string>("999999") : std::nullopt);
        EXPECT_EQ(texts.Text3, size >= 11 ? std::optional<std::string>("9600") : std::nullopt);
        EXPECT_EQ(texts.Text4, size >= 11 ? std::optional<std::string>("19200") : std::nullopt);
        EXPECT_EQ(texts.Text5, size >= 11 ? std::optional<std::string>("奇") : std::nullopt);
    }
}
