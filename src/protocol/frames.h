#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace protocol {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint8_t kStart = 0xF0;
inline constexpr std::uint8_t kRead = 0xCC;
inline constexpr std::uint8_t kActivate = 0x33;
inline constexpr std::uint8_t kParameters = 0xAA;
inline constexpr std::uint8_t kWriteAck = 0xEE;
inline constexpr std::uint8_t kActivateAck = 0xBB;
inline constexpr std::uint8_t kEnd = 0x0D;
inline constexpr std::uint8_t kParityErrorMark = 0x3F; // "?" from the link

inline constexpr std::size_t kParameterFrameLength = 12;

// What a frequency point may be when it is sent: at least 100000 and at most
// nine decimal digits, so the top byte of its field never passes 0x3B.
inline constexpr std::uint32_t kMinFrequency = 100000;
inline constexpr int kMaxFrequencyDigits = 9;

Bytes ReadRequest();
Bytes ActivateRequest();

// List indexes as the lists report them; -1 (or any index naming no row)
// contributes nothing to the settings byte.
Bytes ParameterFrame(std::uint32_t transmit, std::uint32_t receive,
                     int interfaceIndex, int channelIndex, int parityIndex);

std::array<std::uint8_t, 4> EncodeFrequency(std::uint32_t value);
// Four bytes, least significant first.
std::uint32_t DecodeFrequency(const std::array<std::uint8_t, 4> &bytes);

// In the rate lists' order, 1200 … 57600.
struct RateRow {
    std::uint8_t interface; // bits 6, 1-0
    std::uint8_t channel;   // bits 7, 3-2
};
extern const std::array<RateRow, 7> RateTable;

// In the parity list's order: none, odd, even.
struct ParityRow {
    std::uint8_t bits; // bits 5-4 as added to the byte
};
extern const std::array<ParityRow, 3> ParityTable;

std::uint8_t EncodeSettingsByte(int interfaceIndex, int channelIndex, int parityIndex);

// Positions in RateTable and ParityTable.
struct DecodedSettings {
    std::size_t interfaceRate;
    std::size_t channelRate;
    std::optional<std::size_t> parity; // none for field value 3
};
DecodedSettings DecodeSettingsByte(std::uint8_t byte);

} // namespace protocol
