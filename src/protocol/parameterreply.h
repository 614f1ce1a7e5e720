#pragma once

#include "protocol/frames.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace protocol {

// The five fields of a parameter reply: frequencies in Hz, rates and parity
// as positions in RateTable and ParityTable. A field is none when the frame
// is too short for it (decoding stops at the first missing byte); parity is
// none for field value 3 as well.
struct ParameterReply {
    std::optional<std::uint32_t> transmitFrequency;
    std::optional<std::uint32_t> receiveFrequency;
    std::optional<std::size_t> interfaceRate;
    std::optional<std::size_t> channelRate;
    std::optional<std::size_t> parity;
};

ParameterReply DecodeParameterReply(const Bytes &frame);

} // namespace protocol
