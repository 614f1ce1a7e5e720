#include "parameterreply.h"

#include <utility>

namespace protocol {

namespace {

constexpr std::size_t kTransmitAt = 2; // byte 3
constexpr std::size_t kReceiveAt = 6;  // byte 7
constexpr std::size_t kSettingsAt = 10; // byte 11

std::optional<std::string> frequencyAt(const Bytes &frame, std::size_t at)
{
    if (frame.size() < at + 4)
        return std::nullopt;
    return DecodeFrequency({frame[at], frame[at + 1], frame[at + 2], frame[at + 3]});
}

} // namespace

// Fields are filled in frame order and decoding stops at the first one the
// frame is too short for, so a short frame never reads past its end.
ParameterTexts DecodeParameterReply(const Bytes &frame)
{
    ParameterTexts texts;
    texts.Text6 = frequencyAt(frame, kTransmitAt);
    if (!texts.Text6)
        return texts;
    texts.Text7 = frequencyAt(frame, kReceiveAt);
    if (!texts.Text7 || frame.size() <= kSettingsAt)
        return texts;
    DecodedSettings settings = DecodeSettingsByte(frame[kSettingsAt]);
    texts.Text3 = std::move(settings.interfaceRate);
    texts.Text4 = std::move(settings.channelRate);
    texts.Text5 = std::move(settings.parity);
    return texts;
}

} // namespace protocol
