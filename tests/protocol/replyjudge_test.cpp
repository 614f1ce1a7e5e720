#include "replyjudge.h"

#include <gtest/gtest.h>

#include <vector>

using protocol::Bytes;
using protocol::Operation;
using protocol::ReceiveBuffer;
using protocol::Verdict;

namespace {

const Bytes kReply = {0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};
const Bytes kEchoedProbe = {0xF0, 0xCC, 0x0D, 0xF0, 0xAA, 0xA0, 0x86, 0x01,
                            0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D};

// Feeds each reception in turn and keeps every verdict; checks after each
// one that a gathering buffer holds exactly RxCount bytes and that an
// ending verdict empties it.
struct Line {
    Operation op;
    ReceiveBuffer buffer;
    Bytes accepted;

    std::vector<Verdict> feed(const std::vector<Bytes> &receptions)
    {
        std::vector<Verdict> verdicts;
        for (const Bytes &input : receptions) {
            const Verdict v = protocol::receive(buffer, input, op, &accepted);
            if (v == Verdict::Gathering)
                EXPECT_EQ(buffer.RxBuffer.size(), static_cast<std::size_t>(buffer.RxCount));
            else
                EXPECT_EQ(buffer.RxCount, 0);
            verdicts.push_back(v);
        }
        return verdicts;
    }

    std::vector<Verdict> feedByteByByte(const Bytes &bytes)
    {
        std::vector<Bytes> receptions;
        for (std::uint8_t b : bytes)
            receptions.push_back({b});
        return feed(receptions);
    }
};

std::vector<Verdict> gatheringThen(std::size_t gathering, Verdict last)
{
    std::vector<Verdict> v(gathering, Verdict::Gathering);
    v.push_back(last);
    return v;
}

} // namespace

TEST(ReplyJudge, AcknowledgementSplitAcrossReceptionsIsJudgedAtThirdByte)
{
    Line line{Operation::Write, {}, {}};
    EXPECT_EQ(line.feed({{0xF0}, {0xEE}, {0x0D}}), gatheringThen(2, Verdict::Written));
}

TEST(ReplyJudge, AcknowledgementGoodOnlyWithEndOrParityErrorMark)
{
    for (int b3 = 0; b3 < 256; ++b3) {
        SCOPED_TRACE(b3);
        const bool good = b3 == 0x0D || b3 == 0x3F;
        const auto third = static_cast<std::uint8_t>(b3);
        Line write{Operation::Write, {}, {}};
        EXPECT_EQ(write.feed({{0xF0, 0xEE, third}}).back(), good ? Verdict::Written : Verdict::WriteRejected);
        Line activate{Operation::Activate, {}, {}};
        EXPECT_EQ(activate.feed({{0xF0, 0xBB, third}}).back(),
                  good ? Verdict::Activated : Verdict::ActivateRejected);
    }
}

TEST(ReplyJudge, AcknowledgementOfTheOtherKindIsRejected)
{
    Line write{Operation::Write, {}, {}};
    EXPECT_EQ(write.feed({{0xF0, 0xBB, 0x0D}}).back(), Verdict::WriteRejected);
    Line activate{Operation::Activate, {}, {}};
    EXPECT_EQ(activate.feed({{0xF0, 0xEE, 0x0D}}).back(), Verdict::ActivateRejected);
    Line parameters{Operation::Write, {}, {}};
    EXPECT_EQ(parameters.feed({kReply}).back(), Verdict::WriteRejected);
}

TEST(ReplyJudge, BytesAfterTheThirdOfAnAcknowledgementAreIgnored)
{
    Line line{Operation::Activate, {}, {}};
    EXPECT_EQ(line.feed({{0xF0, 0xBB, 0x3F, 0x00, 0x12}}).back(), Verdict::Activated);
}

TEST(ReplyJudge, DropsBufferNotStartingWithF0)
{
    Line line{Operation::Write, {}, {}};
    EXPECT_EQ(line.feed({{0x00, 0xF0, 0xEE, 0x0D}}).back(), Verdict::Dropped);
    EXPECT_EQ(line.feed({{0xEE}, {0x0D}}), (std::vector<Verdict>{Verdict::Dropped, Verdict::Dropped}));
    EXPECT_EQ(line.feed({{0xF0, 0xEE, 0x0D}}).back(), Verdict::Written);
}

TEST(ReplyJudge, HoldsFifteenBytesAndDropsTheSixteenth)
{
    Bytes fifteen = kReply;
    fifteen.insert(fifteen.end(), {0x01, 0x02, 0x03});
    Line read{Operation::Read, {}, {}};
    EXPECT_EQ(read.feed({fifteen}).back(), Verdict::ParametersRead);
    EXPECT_EQ(read.accepted, fifteen);

    Bytes sixteen = fifteen;
    sixteen.push_back(0x04);
    Line readSixteen{Operation::Read, {}, {}};
    EXPECT_EQ(readSixteen.feed({sixteen}).back(), Verdict::Dropped);
    EXPECT_TRUE(readSixteen.accepted.empty());

    Line readSplit{Operation::Read, {}, {}};
    EXPECT_EQ(readSplit.feed({Bytes(kReply.begin(), kReply.begin() + 11), {0xAA, 0, 0, 0, 0}}),
              (std::vector<Verdict>{Verdict::Gathering, Verdict::Dropped}));
}

TEST(ReplyJudge, ReadReplyByteByByteIsAcceptedAtTwelveAndCopied)
{
    Line line{Operation::Read, {}, {}};
    EXPECT_EQ(line.feedByteByByte(kReply), gatheringThen(11, Verdict::ParametersRead));
    EXPECT_EQ(line.accepted,
              (Bytes{0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D}));
}

TEST(ReplyJudge, AcceptedCopySurvivesTheNextReception)
{
    Line line{Operation::Read, {}, {}};
    line.feed({kReply, {0xF0, 0x55}});
    EXPECT_EQ(line.accepted, kReply);
    EXPECT_EQ(line.buffer.RxBuffer, (Bytes{0xF0, 0x55}));
}

TEST(ReplyJudge, ReadRejectedAtTwelveWhenSecondByteIsNotAA)
{
    Line line{Operation::Read, {}, {0x99}};
    Bytes wrong = kReply;
    wrong[1] = 0xAB;
    EXPECT_EQ(line.feedByteByByte(wrong), gatheringThen(11, Verdict::ReadRejected));
    EXPECT_EQ(line.accepted, (Bytes{0x99}));
}

TEST(ReplyJudge, EchoedProbeIsRejectedByReadAndFoundByHandshake)
{
    Line read{Operation::Read, {}, {}};
    std::vector<Verdict> expected = gatheringThen(11, Verdict::ReadRejected);
    // What follows the rejection starts a new buffer with 00: dropped.
    expected.insert(expected.end(), {Verdict::Dropped, Verdict::Dropped, Verdict::Dropped});
    EXPECT_EQ(read.feedByteByByte(kEchoedProbe), expected);
    EXPECT_TRUE(read.accepted.empty());

    Line handshake{Operation::Handshake, {}, {}};
    EXPECT_EQ(handshake.feedByteByByte(kEchoedProbe), gatheringThen(14, Verdict::DeviceFound));
}

TEST(ReplyJudge, HandshakeDirectReplyFoundOnceAtTwelve)
{
    Line line{Operation::Handshake, {}, {}};
    EXPECT_EQ(line.feed({Bytes(kReply.begin(), kReply.begin() + 11), {0x0D}}),
              (std::vector<Verdict>{Verdict::Gathering, Verdict::DeviceFound}));
    EXPECT_TRUE(line.accepted.empty());
}

TEST(ReplyJudge, NothingIsAcceptedBeforeTheFirstRequest)
{
    Line line{Operation::None, {}, {}};
    Bytes sixteen = kEchoedProbe;
    sixteen.push_back(0x0D);
    EXPECT_EQ(line.feedByteByByte(sixteen), gatheringThen(15, Verdict::Dropped));
    EXPECT_EQ(line.feed({{0xF0, 0xEE, 0x0D}}).back(), Verdict::Gathering);
}

TEST(ReplyJudge, BytesAfterAUsedReplyStartANewBuffer)
{
    Line line{Operation::Write, {}, {}};
    EXPECT_EQ(line.feed({{0xF0, 0xEE, 0x0D}, {0xF0, 0xEE}, {0x3F}}),
              (std::vector<Verdict>{Verdict::Written, Verdict::Gathering, Verdict::Written}));
    EXPECT_EQ(line.buffer.RxBuffer, (Bytes{0xF0, 0xEE, 0x3F}));
    EXPECT_EQ(line.feed({{0x0D, 0xF0, 0xEE, 0x0D}}).back(), Verdict::Dropped);
}

TEST(ReplyJudge, EmptyReceptionChangesNothing)
{
    ReceiveBuffer fresh;
    EXPECT_EQ(protocol::receive(fresh, {}, Operation::Write), Verdict::Gathering);
    EXPECT_EQ(fresh.RxCount, 0);
    EXPECT_TRUE(fresh.RxBuffer.empty());

    Line line{Operation::Read, {}, {}};
    line.feed({{0xF0, 0xAA}});
    EXPECT_EQ(protocol::receive(line.buffer, {}, Operation::Read), Verdict::Gathering);
    EXPECT_EQ(line.buffer.RxCount, 2);
    EXPECT_EQ(line.buffer.RxBuffer, (Bytes{0xF0, 0xAA}));

    Line ended{Operation::Write, {}, {}};
    ended.feed({{0xF0, 0xEE, 0x0D}});
    EXPECT_EQ(protocol::receive(ended.buffer, {}, Operation::Write), Verdict::Gathering);
    EXPECT_EQ(ended.buffer.RxCount, 0);
}

TEST(ReplyJudge, CountDisagreeingWithTheBytesDoesNotReadPastThem)
{
    ReceiveBuffer negative{{0x11, 0x22}, -7};
    EXPECT_EQ(protocol::receive(negative, {0xF0, 0xEE}, Operation::Write), Verdict::Gathering);
    EXPECT_EQ(negative.RxBuffer, (Bytes{0xF0, 0xEE}));

    ReceiveBuffer tooHigh{{0xF0, 0xEE}, 40};
    EXPECT_EQ(protocol::receive(tooHigh, {0x0D}, Operation::Write), Verdict::Written);

    ReceiveBuffer overfull{Bytes(20, 0xF0), 20};
    EXPECT_EQ(protocol::receive(overfull, {0x0D}, Operation::Write), Verdict::Dropped);
    EXPECT_EQ(overfull.RxCount, 0);
}

TEST(ReplyJudge, JudgeWaitsForThreeBytes)
{
    EXPECT_EQ(protocol::judge(Operation::Write, {0xF0, 0xEE}), Verdict::Gathering);
    EXPECT_EQ(protocol::judge(Operation::Write, {}), Verdict::Gathering);
    EXPECT_EQ(protocol::judge(Operation::Write, {0xF0, 0xEE, 0x0D}), Verdict::Written);
}
