#include "frames.h"

#include <gtest/gtest.h>

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

TEST(Frequency, EncodesLeastSignificantByteFirstAndDecodesAsUnsignedDecimal)
{
    const struct {
        std::uint32_t value;
        std::array<std::uint8_t, 4> field;
        const char *text;
    } cases[] = {
        {100000, {0xA0, 0x86, 0x01, 0x00}, "100000"},
        {999999, {0x3F, 0x42, 0x0F, 0x00}, "999999"},
        {999999999, {0xFF, 0xC9, 0x9A, 0x3B}, "999999999"},
        {0, {0, 0, 0, 0}, "0"},
        {32767, {0xFF, 0x7F, 0x00, 0x00}, "32767"},
        {32768, {0x00, 0x80, 0x00, 0x00}, "32768"},
        {65535, {0xFF, 0xFF, 0x00, 0x00}, "65535"},
        {2147483648u, {0x00, 0x00, 0x00, 0x80}, "2147483648"},
        {4294967295u, {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(protocol::EncodeFrequency(c.value), c.field);
        EXPECT_EQ(protocol::DecodeFrequency(c.field), c.text);
    }
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

TEST(SettingsByte, EncodesTheListIndexesAndNothingForIndexesNamingNoRow)
{
    // Even is coded 1 and odd 2, the reverse of the list order.
    const struct {
        int in, ch, pa;
        std::uint8_t byte;
    } cases[] = {
        {3, 4, 1, 0xA3},   {0, 0, 0, 0x00},    {6, 6, 0, 0xCA},  {5, 1, 0, 0x45},
        {0, 0, 2, 0x10},   {0, 0, 1, 0x20},    {-1, -1, -1, 0x00}, {-1, 3, 2, 0x1C},
        {4, -1, 1, 0x60},  {6, 6, -1, 0xCA},   {7, 7, 3, 0x00},  {INT_MIN, INT_MAX, 99, 0x00},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << "," << c.ch << "," << c.pa);
        EXPECT_EQ(protocol::EncodeSettingsByte(c.in, c.ch, c.pa), c.byte);
    }
}

TEST(SettingsByte, DecodesReceivedBytes)
{
    // A low field of 3 is 9600 whatever the high flag says.
    const struct {
        std::uint8_t byte;
        const char *interfaceRate, *channelRate, *parity;
    } cases[] = {
        {0xA3, "9600", "19200", "奇"}, {0x00, "1200", "1200", "无"},
        {0x10, "1200", "1200", "偶"},  {0x30, "1200", "1200", nullptr},
        {0x42, "57600", "1200", "无"}, {0x88, "1200", "57600", "无"},
        {0x43, "9600", "1200", "无"},  {0x8C, "1200", "9600", "无"},
        {0xFF, "9600", "9600", nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.byte));
        const auto decoded = protocol::DecodeSettingsByte(c.byte);
        EXPECT_EQ(decoded.interfaceRate, c.interfaceRate);
        EXPECT_EQ(decoded.channelRate, c.channelRate);
        EXPECT_EQ(decoded.parity, c.parity ? std::optional<std::string>(c.parity) : std::nullopt);
    }
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
