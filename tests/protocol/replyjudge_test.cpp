#include "protocol/replyjudge.h"

#include <gtest/gtest.h>

#include <vector>

using protocol::Bytes;
using protocol::Operation;
using protocol::ReceiveBuffer;
using protocol::Verdict;
using Verdicts = std::vector<Verdict>;

namespace {

const Bytes kReply = {0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};
const Bytes kEchoedProbe = {0xF0, 0xCC, 0x0D, 0xF0, 0xAA, 0xA0, 0x86, 0x01,
                            0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};

// Feeds each reception in turn to a fresh buffer and keeps every verdict.
Verdicts feed(Operation op, const std::vector<Bytes> &receptions)
{
    ReceiveBuffer buffer;
    Verdicts verdicts;
    for (const Bytes &input : receptions)
        verdicts.push_back(protocol::receive(buffer, input, op));
    return verdicts;
}

std::vector<Bytes> byteByByte(const Bytes &bytes, std::vector<Bytes> then = {})
{
    std::vector<Bytes> receptions;
    for (std::uint8_t b : bytes)
        receptions.push_back({b});
    receptions.insert(receptions.end(), then.begin(), then.end());
    return receptions;
}

Verdicts gathering(std::size_t n, Verdicts then)
{
    Verdicts v(n, Verdict::Gathering);
    v.insert(v.end(), then.begin(), then.end());
    return v;
}

Bytes head(const Bytes &bytes, std::size_t n) { return Bytes(bytes.begin(), bytes.begin() + std::ptrdiff_t(n)); }

Bytes plus(Bytes bytes, std::initializer_list<std::uint8_t> more)
{
    bytes.insert(bytes.end(), more);
    return bytes;
}

} // namespace

TEST(ReplyJudge, JudgesReceptionsByTheRequestInFlight)
{
    using V = Verdict;
    const struct {
        const char *name;
        Operation op;
        std::vector<Bytes> receptions;
        Verdicts verdicts;
    } cases[] = {
        {"acknowledgement split", Operation::Write, {{0xF0}, {0xEE}, {0x0D}}, gathering(2, {V::Written})},
        {"acknowledgement with 3F", Operation::Write, {{0xF0, 0xEE, 0x3F}}, {V::Written}},
        {"acknowledgement with 0A", Operation::Activate, {{0xF0, 0xBB, 0x0A}}, {V::ActivateRejected}},
        {"bytes after the third", Operation::Activate, {{0xF0, 0xBB, 0x3F, 0x00, 0x12}}, {V::Activated}},
        {"activate ack to write", Operation::Write, {{0xF0, 0xBB, 0x0D}}, {V::WriteRejected}},
        {"write ack to activate", Operation::Activate, {{0xF0, 0xEE, 0x0D}}, {V::ActivateRejected}},
        {"not starting with F0", Operation::Write, {{0x00, 0xF0, 0xEE, 0x0D}, {0xEE}, {0x0D}, {0xF0, 0xEE, 0x0D}},
         {V::Dropped, V::Dropped, V::Dropped, V::Written}},
        {"fifteen at once", Operation::Read, {plus(kReply, {1, 2, 3})}, {V::ParametersRead}},
        {"sixteen at once", Operation::Read, {plus(kReply, {1, 2, 3, 4})}, {V::Dropped}},
        {"sixteenth in a later reception", Operation::Read, {head(kReply, 11), {0xAA, 0, 0, 0, 0}},
         {V::Gathering, V::Dropped}},
        {"read rejected at twelve", Operation::Read,
         byteByByte({0xF0, 0xAB, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}),
         gathering(11, {V::ReadRejected})},
        // What follows the rejection starts a new buffer with 00: dropped.
        {"echoed probe under read", Operation::Read, byteByByte(kEchoedProbe),
         gathering(11, {V::ReadRejected, V::Dropped, V::Dropped, V::Dropped})},
        {"echoed probe under handshake", Operation::Handshake, byteByByte(kEchoedProbe),
         gathering(14, {V::DeviceFound})},
        {"direct reply under handshake", Operation::Handshake, {head(kReply, 11), {0x0D}},
         {V::Gathering, V::DeviceFound}},
        {"no request yet", Operation::None, byteByByte(plus(kEchoedProbe, {0x0D}), {{0xF0, 0xEE, 0x0D}}),
         gathering(15, {V::Dropped, V::Gathering})},
        {"a used reply's followers", Operation::Write, {{0xF0, 0xEE, 0x0D}, {0xF0, 0xEE}, {0x3F}, {0x0D, 0xF0}},
         {V::Written, V::Gathering, V::Written, V::Dropped}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(feed(c.op, c.receptions), c.verdicts);
    }
}
