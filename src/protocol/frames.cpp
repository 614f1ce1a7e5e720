#include "protocol/frames.h"

namespace protocol {

const std::array<RateRow, 7> RateTable = {{
    {"1200", 0x00, 0x00},
    {"2400", 0x01, 0x04},
    {"4800", 0x02, 0x08},
    {"9600", 0x03, 0x0C},
    {"19200", 0x40, 0x80},
    {"38400", 0x41, 0x84},
    {"57600", 0x42, 0x88},
}};

// The list shows none, odd, even; the device codes even as 1 and odd as 2.
const std::array<ParityRow, 3> ParityTable = {{
    {"无", 0x00},
    {"奇", 0x20},
    {"偶", 0x10},
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
// flag is ignored for it before the table is searched.
const char *rateText(std::uint8_t byte, std::uint8_t mask, std::uint8_t low,
                     std::uint8_t RateRow::*field)
{
    std::uint8_t key = byte & mask;
    if ((key & low) == low)
        key = low;
    for (const RateRow &row : RateTable) {
        if (row.*field == key)
            return row.text;
    }
    return "";
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

// Every field is shown as the unsigned value it carries, top bit included:
// a received frequency is never shown negative or truncated.
std::string DecodeFrequency(const std::array<std::uint8_t, 4> &bytes)
{
    const std::uint32_t value = std::uint32_t{bytes[0]}
        | std::uint32_t{bytes[1]} << 8
        | std::uint32_t{bytes[2]} << 16
        | std::uint32_t{bytes[3]} << 24;
    return std::to_string(value);
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
    DecodedSettings decoded;
    decoded.interfaceRate = rateText(byte, kInterfaceMask, kInterfaceLow, &RateRow::interface);
    decoded.channelRate = rateText(byte, kChannelMask, kChannelLow, &RateRow::channel);
    for (const ParityRow &row : ParityTable) {
        if (row.bits == (byte & kParityMask))
            decoded.parity = row.text;
    }
    return decoded;
}

} // namespace protocol
