#include "frames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

using protocol::Bytes;

namespace {

const char *const kRates[] = {"1200", "2400", "4800", "9600", "19200", "38400", "57600"};
const char *const kParityItems[] = {"无", "奇", "偶"};

} // namespace

TEST(Frames, RequestsAreExactlyTheirBytes)
{
    EXPECT_EQ(protocol::ReadRequest(), (Bytes{0xF0, 0xCC, 0x0D}));
    EXPECT_EQ(protocol::ActivateRequest(), (Bytes{0xF0, 0x33, 0x0D}));
    EXPECT_EQ(protocol::ParameterFrame(100000, 999999, 3, 4, 1),
              (Bytes{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}));
    EXPECT_EQ(protocol::ParameterFrame(0, 0xFFFFFFFF, -1, -1, -1),
              (Bytes{0xF0, 0xAA, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x0D}));
}

TEST(Frequency, EncodesLeastSignificantByteFirst)
{
    using Field = std::array<std::uint8_t, 4>;
    EXPECT_EQ(protocol::EncodeFrequency(100000), (Field{0xA0, 0x86, 0x01, 0x00}));
    EXPECT_EQ(protocol::EncodeFrequency(999999), (Field{0x3F, 0x42, 0x0F, 0x00}));
    EXPECT_EQ(protocol::EncodeFrequency(999999999), (Field{0xFF, 0xC9, 0x9A, 0x3B}));
    EXPECT_EQ(protocol::EncodeFrequency(0), (Field{0, 0, 0, 0}));
}

TEST(Frequency, DecodesEveryFieldAsUnsignedDecimal)
{
    EXPECT_EQ(protocol::DecodeFrequency({0xA0, 0x86, 0x01, 0x00}), "100000");
    EXPECT_EQ(protocol::DecodeFrequency({0x3F, 0x42, 0x0F, 0x00}), "999999");
    EXPECT_EQ(protocol::DecodeFrequency({0x00, 0x00, 0x00, 0x00}), "0");
    EXPECT_EQ(protocol::DecodeFrequency({0xFF, 0x7F, 0x00, 0x00}), "32767");
    EXPECT_EQ(protocol::DecodeFrequency({0x00, 0x80, 0x00, 0x00}), "32768");
    EXPECT_EQ(protocol::DecodeFrequency({0xFF, 0xFF, 0x00, 0x00}), "65535");
    EXPECT_EQ(protocol::DecodeFrequency({0x00, 0x00, 0x00, 0x80}), "2147483648");
    EXPECT_EQ(protocol::DecodeFrequency({0xFF, 0xFF, 0xFF, 0xFF}), "4294967295");
}

TEST(Frequency, RoundTripsEveryValueTheToolSends)
{
    auto check = [](std::uint32_t value) {
        ASSERT_EQ(protocol::DecodeFrequency(protocol::EncodeFrequency(value)), std::to_string(value));
    };
    for (std::uint32_t value = 0; value <= 999999999; value += 9973)
        check(value);
    for (std::uint32_t value : {0u, 1u, 255u, 256u, 65535u, 65536u, 99999u, 100000u,
                                16777215u, 16777216u, 999999998u, 999999999u})
        check(value);
}

TEST(SettingsByte, EncodesTheListIndexes)
{
    EXPECT_EQ(protocol::EncodeSettingsByte(3, 4, 1), 0xA3);
    EXPECT_EQ(protocol::EncodeSettingsByte(0, 0, 0), 0x00);
    EXPECT_EQ(protocol::EncodeSettingsByte(6, 6, 0), 0xCA);
    EXPECT_EQ(protocol::EncodeSettingsByte(5, 1, 0), 0x45);
    // Even is coded 1 and odd 2, the reverse of the list order.
    EXPECT_EQ(protocol::EncodeSettingsByte(0, 0, 2), 0x10);
    EXPECT_EQ(protocol::EncodeSettingsByte(0, 0, 1), 0x20);
}

TEST(SettingsByte, IndexNamingNoRowContributesNothing)
{
    EXPECT_EQ(protocol::EncodeSettingsByte(-1, -1, -1), 0x00);
    EXPECT_EQ(protocol::EncodeSettingsByte(-1, 3, 2), 0x1C);
    EXPECT_EQ(protocol::EncodeSettingsByte(4, -1, 1), 0x60);
    EXPECT_EQ(protocol::EncodeSettingsByte(6, 6, -1), 0xCA);
    EXPECT_EQ(protocol::EncodeSettingsByte(7, 7, 3), 0x00);
    EXPECT_EQ(protocol::EncodeSettingsByte(INT_MIN, INT_MAX, 99), 0x00);
}

TEST(SettingsByte, DecodesReceivedBytes)
{
    const auto a3 = protocol::DecodeSettingsByte(0xA3);
    EXPECT_EQ(a3.interfaceRate, "9600");
    EXPECT_EQ(a3.channelRate, "19200");
    EXPECT_EQ(a3.parity, "奇");

    const auto zero = protocol::DecodeSettingsByte(0x00);
    EXPECT_EQ(zero.interfaceRate, "1200");
    EXPECT_EQ(zero.channelRate, "1200");
    EXPECT_EQ(zero.parity, "无");

    EXPECT_EQ(protocol::DecodeSettingsByte(0x10).parity, "偶");
    EXPECT_EQ(protocol::DecodeSettingsByte(0x30).parity, std::nullopt);
    EXPECT_EQ(protocol::DecodeSettingsByte(0x42).interfaceRate, "57600");
    EXPECT_EQ(protocol::DecodeSettingsByte(0x88).channelRate, "57600");
}

TEST(SettingsByte, LowFieldThreeIsNineSixHundredWhateverTheFlag)
{
    EXPECT_EQ(protocol::DecodeSettingsByte(0x43).interfaceRate, "9600");
    EXPECT_EQ(protocol::DecodeSettingsByte(0x8C).channelRate, "9600");
    const auto all = protocol::DecodeSettingsByte(0xFF);
    EXPECT_EQ(all.interfaceRate, "9600");
    EXPECT_EQ(all.channelRate, "9600");
    EXPECT_EQ(all.parity, std::nullopt);
}

TEST(SettingsByte, EveryEncodableByteDecodesToItsListItems)
{
    int distinct[256] = {};
    for (int in = -1; in < 7; ++in) {
        for (int ch = -1; ch < 7; ++ch) {
            for (int pa = -1; pa < 3; ++pa) {
                const std::uint8_t byte = protocol::EncodeSettingsByte(in, ch, pa);
                const auto decoded = protocol::DecodeSettingsByte(byte);
                SCOPED_TRACE(testing::Message() << in << "," << ch << "," << pa);
                // No selection is coded as zero, which reads as the first item.
                EXPECT_EQ(decoded.interfaceRate, kRates[in < 0 ? 0 : in]);
                EXPECT_EQ(decoded.channelRate, kRates[ch < 0 ? 0 : ch]);
                EXPECT_EQ(decoded.parity, kParityItems[pa < 0 ? 0 : pa]);
                if (in >= 0 && ch >= 0 && pa >= 0)
                    ++distinct[byte];
            }
        }
    }
    for (int count : distinct)
        EXPECT_LE(count, 1);
}

TEST(SettingsByte, EveryByteValueDecodesToAListItem)
{
    for (int b = 0; b < 256; ++b) {
        const auto decoded = protocol::DecodeSettingsByte(static_cast<std::uint8_t>(b));
        SCOPED_TRACE(b);
        EXPECT_NE(std::find(std::begin(kRates), std::end(kRates), decoded.interfaceRate), std::end(kRates));
        EXPECT_NE(std::find(std::begin(kRates), std::end(kRates), decoded.channelRate), std::end(kRates));
        EXPECT_EQ(decoded.parity.has_value(), (b & 0x30) != 0x30);
    }
}
