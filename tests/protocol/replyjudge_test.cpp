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

// Feeds each reception in turn and keeps every verdict; checks after each
// one that a gathering buffer holds exactly RxCount bytes, never above 15,
// and that an ending verdict empties it.
struct Line {
    Operation op;
    ReceiveBuffer buffer;
    Bytes accepted;

    Verdicts feed(const std::vector<Bytes> &receptions)
    {
        Verdicts verdicts;
        for (const Bytes &input : receptions) {
            const Verdict v = protocol::receive(buffer, input, op, &accepted);
            EXPECT_LE(buffer.RxCount, 15);
            if (v == Verdict::Gathering)
                EXPECT_EQ(buffer.RxBuffer.size(), static_cast<std::size_t>(buffer.RxCount));
            else
                EXPECT_EQ(buffer.RxCount, 0);
            verdicts.push_back(v);
        }
        return verdicts;
    }

    Verdict last(const Bytes &reception) { return feed({reception}).back(); }
};

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
        Line line{c.op, {}, {}};
        EXPECT_EQ(line.feed(c.receptions), c.verdicts);
    }
}

TEST(ReplyJudge, AcknowledgementGoodOnlyWithEndOrParityErrorMark)
{
    for (int b3 = 0; b3 < 256; ++b3) {
        SCOPED_TRACE(b3);
        const bool good = b3 == 0x0D || b3 == 0x3F;
        const auto third = static_cast<std::uint8_t>(b3);
        EXPECT_EQ((Line{Operation::Write, {}, {}}.last({0xF0, 0xEE, third})),
                  good ? Verdict::Written : Verdict::WriteRejected);
        EXPECT_EQ((Line{Operation::Activate, {}, {}}.last({0xF0, 0xBB, third})),
                  good ? Verdict::Activated : Verdict::ActivateRejected);
    }
}

TEST(ReplyJudge, KeepsACopyOfTheAcceptedReplyWhateverTheBufferHoldsLater)
{
    Line line{Operation::Read, {}, {}};
    EXPECT_EQ(line.feed(byteByByte(kReply)), gathering(11, {Verdict::ParametersRead}));
    line.feed({{0xF0, 0x55}});
    EXPECT_EQ(line.accepted,
              (Bytes{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}));
    EXPECT_EQ(line.buffer.RxBuffer, (Bytes{0xF0, 0x55}));
}

TEST(ReplyJudge, EmptyReceptionChangesNothing)
{
    // Fresh, gathering, and just reset after a used reply (stale bytes kept).
    for (const ReceiveBuffer &before : {ReceiveBuffer{}, ReceiveBuffer{{0xF0, 0xAA}, 2},
                                        ReceiveBuffer{{0xF0, 0xEE, 0x0D}, 0}}) {
        SCOPED_TRACE(before.RxCount);
        ReceiveBuffer buffer = before;
        EXPECT_EQ(protocol::receive(buffer, {}, Operation::Read), Verdict::Gathering);
        EXPECT_EQ(buffer.RxCount, before.RxCount);
        EXPECT_EQ(buffer.RxBuffer, before.RxBuffer);
    }
}
