#include "parameterreply.h"

#include <gtest/gtest.h>

using protocol::Bytes;
using protocol::DecodeParameterReply;

namespace {

const Bytes kReply = {0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};

std::optional<std::string> text(const char *t)
{
    return t ? std::optional<std::string>(t) : std::nullopt;
}

} // namespace

TEST(ParameterReply, DecodesAllFiveTextsFromTheFirstElevenBytes)
{
    // 0x30 names no parity item, so Text5 is left alone.
    const struct {
        Bytes frame;
        const char *text6, *text7, *text3, *text4, *text5;
    } cases[] = {
        {kReply, "100000", "999999", "9600", "19200", "奇"},
        {{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0x30, 0x0D},
         "100000", "999999", "1200", "1200", nullptr},
        {{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xC3, 0x0D},
         "100000", "999999", "9600", "19200", "无"},
        {{0xF0, 0xAA, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x55, 0x66, 0x77},
         "0", "4294967295", "1200", "1200", "无"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.frame[10]));
        const auto texts = DecodeParameterReply(c.frame);
        EXPECT_EQ(texts.Text6, c.text6);
        EXPECT_EQ(texts.Text7, c.text7);
        EXPECT_EQ(texts.Text3, c.text3);
        EXPECT_EQ(texts.Text4, c.text4);
        EXPECT_EQ(texts.Text5, text(c.text5));
    }
}

TEST(ParameterReply, StopsAtTheFirstMissingByte)
{
    for (std::size_t size = 0; size <= kReply.size(); ++size) {
        SCOPED_TRACE(size);
        const auto texts = DecodeParameterReply(Bytes(kReply.begin(), kReply.begin() + size));
        EXPECT_EQ(texts.Text6, text(size >= 6 ? "100000" : nullptr));
        EXPECT_EQ(texts.Text7, text(size >= 10 ? "999999" : nullptr));
        EXPECT_EQ(texts.Text3, text(size >= 11 ? "9600" : nullptr));
        EXPECT_EQ(texts.Text4, text(size >= 11 ? "19200" : nullptr));
        EXPECT_EQ(texts.Text5, text(size >= 11 ? "奇" : nullptr));
    }
}
