#include "protocol/frames.h"

namespace protocol {

const std::array<RateRow, 7> RateTable = {{
    {0x00, 0x00}, // 1200
    {0x01, 0x04}, // 2400
    {0x02, 0x08}, // 4800
    {0x03, 0x0C}, // 9600
    {0x40, 0x80}, // 19200
    {0x41, 0x84}, // 38400
    {0x42, 0x88}, // 57600
}};

// The list shows none, odd, even; the device codes even as 1 and odd as 2.
const std::array<ParityRow, 3> ParityTable = {{
    {0x00}, // none
    {0x20}, // odd
    {0x10}, // even
}};

namespace {

constexpr std::uint8_t kInterfaceMask = 0x43;
constexpr std::uint8_t kInterfaceLow = 0x03;
constexpr std::uint8_t kChannelMask = 0x8C;
constexpr std::uint8_t kChannelLow = 0x0C;
constexpr std::uint8_t kParityMask = 0x30;

// A list index that names no row (-1 for "nothing selected") yields nothing.
template <typename Table>
const typename Table::value_type *rowAt(const Table &table, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

// A low field of 3 is 9600 whether or not the high flag is set, so the
// flag is ignored for it before the table is searched. The other seven keys
// are the table's, so every byte names a rate.
std::size_t ratePosition(std::uint8_t byte, std::uint8_t mask, std::uint8_t low,
                         std::uint8_t RateRow::*field)
{
    std::uint8_t key = byte & mask;
    if ((key & low) == low)
        key = low;
    std::size_t at = 0;
    while (at + 1 < RateTable.size() && RateTable[at].*field != key)
        ++at;
    return at;
}

} // namespace

Bytes ReadRequest()
{
    return {kStart, kRead, kEnd};
}

Bytes ActivateRequest()
{
    return {kStart, kActivate, kEnd};
}

Bytes ParameterFrame(std::uint32_t transmit, std::uint32_t receive,
                     int interfaceIndex, int channelIndex, int parityIndex)
{
    Bytes frame;
    frame.reserve(kParameterFrameLength);
    frame.push_back(kStart);
    frame.push_back(kParameters);
    for (std::uint32_t value : {transmit, receive}) {
        const auto field = EncodeFrequency(value);
        frame.insert(frame.end(), field.begin(), field.end());
    }
    frame.push_back(EncodeSettingsByte(interfaceIndex, channelIndex, parityIndex));
    frame.push_back(kEnd);
    return frame;
}

std::array<std::uint8_t, 4> EncodeFrequency(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value),
            static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 24)};
}

// Unsigned, top bit included: a received frequency is never negative or
// truncated.
std::uint32_t DecodeFrequency(const std::array<std::uint8_t, 4> &bytes)
{
    const std::uint32_t value = std::uint32_t{bytes[0]}
        | std::uint32_t{bytes[1]} << 8
        | std::uint32_t{bytes[2]} << 16
        | std::uint32_t{bytes[3]} << 24;
    return value;
}

std::uint8_t EncodeSettingsByte(int interfaceIndex, int channelIndex, int parityIndex)
{
    std::uint8_t byte = 0;
    if (const RateRow *row = rowAt(RateTable, interfaceIndex))
        byte |= row->interface;
    if (const RateRow *row = rowAt(RateTable, channelIndex))
        byte |= row->channel;
    if (const ParityRow *row = rowAt(ParityTable, parityIndex))
        byte |= row->bits;
    return byte;
}

DecodedSettings DecodeSettingsByte(std::uint8_t byte)
{
    DecodedSettings decoded{ratePosition(byte, kInterfaceMask, kInterfaceLow, &RateRow::interface),
                            ratePosition(byte, kChannelMask, kChannelLow, &RateRow::channel),
                            std::nullopt};
    for (std::size_t i = 0; i < ParityTable.size(); ++i) {
        if (ParityTable[i].bits == (byte & kParityMask))
            decoded.parity = i;
    }
    return decoded;
}

} // namespace protocol
