#include "protocol/replyjudge.h"

#include <algorithm>

namespace protocol {

namespace {

// One way a reply can end an exchange. The first matching rule wins; no
// match means the reply is not complete yet.
struct Rule {
    Operation op;
    int kind;            // byte 2, or kAnyKind
    bool endMark;        // byte 3 must be 0x0D, or 0x3F as the line garbles it
    std::size_t atLeast; // bytes held before the rule applies
    Verdict verdict;
};

constexpr int kAnyKind = -1;
constexpr std::size_t kAckLength = 3;
constexpr std::size_t kEchoedProbeLength = 15;

// An acknowledgement is judged on its first three bytes; a parameter reply
// waits for all twelve. The handshake also takes a line that echoes our own
// read request ahead of the reply.
constexpr Rule kRules[] = {
    {Operation::Handshake, kParameters, false, kParameterFrameLength, Verdict::DeviceFound},
    {Operation::Handshake, kRead, false, kEchoedProbeLength, Verdict::DeviceFound},
    {Operation::Read, kParameters, false, kParameterFrameLength, Verdict::ParametersRead},
    {Operation::Read, kAnyKind, false, kParameterFrameLength, Verdict::ReadRejected},
    {Operation::Write, kWriteAck, true, kAckLength, Verdict::Written},
    {Operation::Write, kAnyKind, false, kAckLength, Verdict::WriteRejected},
    {Operation::Activate, kActivateAck, true, kAckLength, Verdict::Activated},
    {Operation::Activate, kAnyKind, false, kAckLength, Verdict::ActivateRejected},
};

bool matches(const Rule &rule, Operation opTag, const Bytes &held)
{
    return rule.op == opTag
        && held.size() >= rule.atLeast
        && (rule.kind == kAnyKind || held[1] == rule.kind)
        && (!rule.endMark || held[2] == kEnd || held[2] == kParityErrorMark);
}

} // namespace

Verdict judge(Operation opTag, const Bytes &held)
{
    if (held.size() < kAckLength)
        return Verdict::Gathering;
    if (held[0] != kStart)
        return Verdict::Dropped;
    for (const Rule &rule : kRules) {
        if (matches(rule, opTag, held))
            return rule.verdict;
    }
    return Verdict::Gathering;
}

Verdict receive(ReceiveBuffer &buffer, const Bytes &input, Operation opTag,
                Bytes *accepted)
{
    if (input.empty())
        return Verdict::Gathering;

    const std::size_t base = buffer.RxBuffer.size();
    const std::uint8_t first = base > 0 ? buffer.RxBuffer[0] : input[0];

    // Checked before anything is stored, so a long burst of junk is never
    // copied and the count cannot overflow.
    constexpr auto kMax = static_cast<std::size_t>(kMaxHeld);
    if (first != kStart || base > kMax || input.size() > kMax - base) {
        buffer.RxBuffer.clear();
        return Verdict::Dropped;
    }

    buffer.RxBuffer.insert(buffer.RxBuffer.end(), input.begin(), input.end());

    const Verdict verdict = judge(opTag, buffer.RxBuffer);
    if (verdict == Verdict::Gathering)
        return verdict;

    if (verdict == Verdict::ParametersRead && accepted)
        *accepted = buffer.RxBuffer;
    buffer.RxBuffer.clear();
    return verdict;
}

} // namespace protocol
