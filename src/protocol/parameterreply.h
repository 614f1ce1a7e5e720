#pragma once

#include "protocol/frames.h"

#include <optional>
#include <string>

namespace protocol {

// The five fields of a parameter reply as text: frequencies in decimal,
// rates and parity as the lists name them. A field is none when the frame
// is too short for it (decoding stops at the first missing byte); parity is
// none for field value 3 as well.
struct ParameterReply {
    std::optional<std::string> transmitFrequency;
    std::optional<std::string> receiveFrequency;
    std::optional<std::string> interfaceRate;
    std::optional<std::string> channelRate;
    std::optional<std::string> parity;
};

ParameterReply DecodeParameterReply(const Bytes &frame);

} // namespace protocol
