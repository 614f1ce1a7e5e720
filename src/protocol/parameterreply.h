#pragma once

#include "frames.h"

#include <optional>
#include <string>

namespace protocol {

// The five "当前参数" texts of a parameter reply. A field is empty when
// the frame is too short for it (decoding stops at the first missing byte)
// and parity is empty for field value 3, so its box keeps its old text.
struct ParameterTexts {
    std::optional<std::string> Text6; // transmit frequency point
    std::optional<std::string> Text7; // receive frequency point
    std::optional<std::string> Text3; // interface rate
    std::optional<std::string> Text4; // channel rate
    std::optional<std::string> Text5; // parity
};

ParameterTexts DecodeParameterReply(const Bytes &frame);

} // namespace protocol
