#include "protocol/parameterreply.h"

namespace protocol {

namespace {

constexpr std::size_t kTransmitAt = 2; // byte 3
constexpr std::size_t kReceiveAt = 6;  // byte 7
constexpr std::size_t kSettingsAt = 10; // byte 11

std::optional<std::uint32_t> frequencyAt(const Bytes &frame, std::size_t at)
{
    if (frame.size() < at + 4)
        return std::nullopt;
    return DecodeFrequency({frame[at], frame[at + 1], frame[at + 2], frame[at + 3]});
}

} // namespace

// Fields are filled in frame order and decoding stops at the first one the
// frame is too short for, so a short frame never reads past its end.
ParameterReply DecodeParameterReply(const Bytes &frame)
{
    ParameterReply reply;
    reply.transmitFrequency = frequencyAt(frame, kTransmitAt);
    if (!reply.transmitFrequency)
        return reply;
    reply.receiveFrequency = frequencyAt(frame, kReceiveAt);
    if (!reply.receiveFrequency || frame.size() <= kSettingsAt)
        return reply;
    const DecodedSettings settings = DecodeSettingsByte(frame[kSettingsAt]);
    reply.interfaceRate = settings.interfaceRate;
    reply.channelRate = settings.channelRate;
    reply.parity = settings.parity;
    return reply;
}

} // namespace protocol
