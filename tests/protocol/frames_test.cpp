#include "protocol/frames.h"
#include "protocol/parameterreply.h"

#include <gtest/gtest.h>

using protocol::Bytes;

TEST(Frames, RequestsAreExactlyTheirBytes)
{
    EXPECT_EQ(protocol::ReadRequest(), (Bytes{0xF0, 0xCC, 0x0D}));
    EXPECT_EQ(protocol::ActivateRequest(), (Bytes{0xF0, 0x33, 0x0D}));
    EXPECT_EQ(protocol::ParameterFrame(100000, 999999, 3, 4, 1),
              (Bytes{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}));
}

TEST(Frequency, LeastSignificantByteFirstUnsigned)
{
    const struct {
        std::uint32_t value;
        std::array<std::uint8_t, 4> field;
    } cases[] = {
        {100000, {0xA0, 0x86, 0x01, 0x00}},     {999999999, {0xFF, 0xC9, 0x9A, 0x3B}},
        {0, {0, 0, 0, 0}},                      {32768, {0x00, 0x80, 0x00, 0x00}},
        {2147483648u, {0x00, 0x00, 0x00, 0x80}}, {4294967295u, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(protocol::EncodeFrequency(c.value), c.field);
        EXPECT_EQ(protocol::DecodeFrequency(c.field), c.value);
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

// Rates as positions 1200 … 57600, parity as none, odd, even.
TEST(SettingsByte, DecodesReceivedBytesIncludingOnesNeverSent)
{
    const struct {
        std::uint8_t byte;
        std::size_t interface, channel;
        std::optional<std::size_t> parity;
    } cases[] = {
        {0x00, 0, 0, 0}, {0xA3, 3, 4, 1}, {0x10, 0, 0, 2}, {0x30, 0, 0, std::nullopt}, {0x43, 3, 0, 0},
        {0x8C, 0, 3, 0}, {0xC3, 3, 4, 0}, {0x42, 6, 0, 0}, {0x84, 0, 5, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.byte));
        const protocol::DecodedSettings d = protocol::DecodeSettingsByte(c.byte);
        EXPECT_EQ(d.interfaceRate, c.interface);
        EXPECT_EQ(d.channelRate, c.channel);
        EXPECT_EQ(d.parity, c.parity);
    }
}

TEST(ParameterReply, DecodesFieldsInFrameOrderAndStopsAtTheFirstMissingByte)
{
    const Bytes reply{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x55};
    const struct {
        std::size_t length;
        std::vector<std::uint32_t> fields; // transmit, receive, interface, channel, parity
    } cases[] = {
        {12, {100000, 999999, 3, 4, 1}}, {11, {100000, 999999, 3, 4, 1}}, {10, {100000, 999999}},
        {9, {100000}}, {5, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.length);
        const auto r = protocol::DecodeParameterReply(Bytes(reply.begin(), reply.begin() + std::ptrdiff_t(c.length)));
        std::vector<std::uint32_t> got;
        for (const auto &field : {r.transmitFrequency, r.receiveFrequency}) {
            if (field)
                got.push_back(*field);
        }
        for (const auto &field : {r.interfaceRate, r.channelRate, r.parity}) {
            if (field)
                got.push_back(std::uint32_t(*field));
        }
        EXPECT_EQ(got, c.fields);
    }
}
