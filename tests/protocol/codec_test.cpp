#include "protocol/frames.h"
#include "protocol/parameterreply.h"

#include <gtest/gtest.h>

#include <string>

using protocol::Bytes;

TEST(Frames, RequestsAreExactlyTheirBytes)
{
    EXPECT_EQ(protocol::ReadRequest(), (Bytes{0xF0, 0xCC, 0x0D}));
    EXPECT_EQ(protocol::ActivateRequest(), (Bytes{0xF0, 0x33, 0x0D}));
    EXPECT_EQ(protocol::ParameterFrame(100000, 999999, 3, 4, 1),
              (Bytes{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}));
    EXPECT_EQ(protocol::ParameterFrame(0, 0xFFFFFFFF, -1, 7, 3),
              (Bytes{0xF0, 0xAA, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x0D}));
}

TEST(Frequency, LeastSignificantByteFirstShownAsUnsignedDecimal)
{
    const struct {
        std::uint32_t value;
        std::array<std::uint8_t, 4> field;
        const char *text;
    } cases[] = {
        {100000, {0xA0, 0x86, 0x01, 0x00}, "100000"},
        {999999999, {0xFF, 0xC9, 0x9A, 0x3B}, "999999999"},
        {0, {0, 0, 0, 0}, "0"},
        {32768, {0x00, 0x80, 0x00, 0x00}, "32768"},
        {2147483648u, {0x00, 0x00, 0x00, 0x80}, "2147483648"},
        {4294967295u, {0xFF, 0xFF, 0xFF, 0xFF}, "4294967295"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(protocol::EncodeFrequency(c.value), c.field);
        EXPECT_EQ(protocol::DecodeFrequency(c.field), c.text);
    }
}

TEST(SettingsByte, EncodesListIndexesWithOddAndEvenTheOtherWayRound)
{
    const struct {
        int interface, channel, parity;
        std::uint8_t byte;
    } cases[] = {
        {0, 0, 0, 0x00}, {3, 4, 1, 0xA3}, {0, 0, 2, 0x10}, {0, 0, 1, 0x20},
        {6, 5, 0, 0xC6}, {4, 6, 2, 0xD8}, {-1, -1, -1, 0x00}, {7, 7, 3, 0x00},
    };
    for (const auto &c : cases)
        EXPECT_EQ(protocol::EncodeSettingsByte(c.interface, c.channel, c.parity), c.byte)
                << c.interface << ' ' << c.channel << ' ' << c.parity;
}

TEST(SettingsByte, DecodesReceivedBytesIncludingOnesNeverSent)
{
    const struct {
        std::uint8_t byte;
        const char *interface, *channel, *parity; // nullptr: no parity text
    } cases[] = {
        {0x00, "1200", "1200", "无"},  {0xA3, "9600", "19200", "奇"}, {0x10, "1200", "1200", "偶"},
        {0x30, "1200", "1200", nullptr}, {0x43, "9600", "1200", "无"},  {0x8C, "1200", "9600", "无"},
        {0xC3, "9600", "19200", "无"}, {0x42, "57600", "1200", "无"}, {0x84, "1200", "38400", "无"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.byte));
        const protocol::DecodedSettings d = protocol::DecodeSettingsByte(c.byte);
        EXPECT_EQ(d.interfaceRate, c.interface);
        EXPECT_EQ(d.channelRate, c.channel);
        EXPECT_EQ(d.parity, c.parity ? std::optional<std::string>(c.parity) : std::nullopt);
    }
}

TEST(SettingsByte, EveryEncodableByteDecodesToTheItemsItWasBuiltFrom)
{
    for (int i = 0; i < 7; ++i) {
        for (int c = 0; c < 7; ++c) {
            for (int p = 0; p < 3; ++p) {
                const auto d = protocol::DecodeSettingsByte(protocol::EncodeSettingsByte(i, c, p));
                EXPECT_EQ(d.interfaceRate, protocol::RateTable[size_t(i)].text);
                EXPECT_EQ(d.channelRate, protocol::RateTable[size_t(c)].text);
                EXPECT_EQ(d.parity, protocol::ParityTable[size_t(p)].text);
            }
        }
    }
}

TEST(ParameterReply, DecodesFieldsInFrameOrderAndStopsAtTheFirstMissingByte)
{
    const Bytes reply{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x55};
    const struct {
        std::size_t length;
        std::vector<std::string> fields; // transmit, receive, interface, channel, parity
    } cases[] = {
        {12, {"100000", "999999", "9600", "19200", "奇"}},
        {11, {"100000", "999999", "9600", "19200", "奇"}},
        {10, {"100000", "999999"}},
        {9, {"100000"}},
        {5, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        const auto r = protocol::DecodeParameterReply(Bytes(reply.begin(), reply.begin() + std::ptrdiff_t(c.length)));
        std::vector<std::string> got;
        for (const auto &field : {r.transmitFrequency, r.receiveFrequency, r.interfaceRate, r.channelRate, r.parity}) {
            if (field)
                got.push_back(*field);
        }
        EXPECT_EQ(got, c.fields);
    }
}
