#include "simfixture.h"

#include <cstdlib>

namespace {

double timeOf(const std::string &line)
{
    return std::strtod(line.c_str(), nullptr);
}

} // namespace

TEST_F(SimTest, EchoReturnsRequestAheadOfReply)
{
    startSim({"--echo"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(15)), "F0 CC 0D F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    EXPECT_TRUE(sim.waitForLine("line>tool F0 CC 0D [4800,N,8,1] echo"));
}

TEST_F(SimTest, EchoWithoutReplyAtWrongSettings)
{
    // The echo is the line's, not the device's.
    startSim({"--echo", "--settings", "9600,N,8,1"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receiveFor(kQuiet)), "F0 CC 0D");
}

TEST_F(SimTest, SplitSendsReplyInPiecesApart)
{
    startSim({"--split", "5"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    const auto first = sim.waitForLine("dev>tool F0 AA 00 18 DD [4800,N,8,1]");
    const auto second = sim.waitForLine("dev>tool 19 40 5A EC 19 [4800,N,8,1]");
    const auto third = sim.waitForLine("dev>tool 0E 0D [4800,N,8,1]");
    ASSERT_TRUE(first && second && third);
    EXPECT_GE(timeOf(*second) - timeOf(*first), 0.003);
    EXPECT_GE(timeOf(*third) - timeOf(*second), 0.003);
}

TEST_F(SimTest, SplitOfOneSendsEveryByteAlone)
{
    startSim({"--split", "1"});
    ask("4800,N,8,1", "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 EE 0D");
    EXPECT_TRUE(sim.waitForLine("dev>tool F0 [4800,N,8,1]"));
    EXPECT_TRUE(sim.waitForLine("dev>tool EE [4800,N,8,1]"));
    EXPECT_TRUE(sim.waitForLine("dev>tool 0D [4800,N,8,1]"));
}

TEST_F(SimTest, BadAckSpoilsThirdByteOfBothAcknowledgements)
{
    startSim({"--bad-ack"});
    ask("4800,N,8,1", "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 EE 0A");
    ASSERT_TRUE(tool.send(hexBytes("F0 33 0D")));
    EXPECT_EQ(hexText(tool.receive(3)), "F0 BB 0A");
    // The parameter frame is not an acknowledgement.
    ASSERT_TRUE(tool.send(hexBytes("F0 CC 0D")));
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
}

TEST_F(SimTest, NoiseByteAheadOfEverySecondReply)
{
    startSim({"--noise"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(13)), "00 F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    ASSERT_TRUE(tool.send(hexBytes("F0 33 0D")));
    EXPECT_EQ(hexText(tool.receiveFor(ToolEnd::Ms(200))), "F0 BB 0D");
    ASSERT_TRUE(tool.send(hexBytes("F0 33 0D")));
    EXPECT_EQ(hexText(tool.receiveFor(ToolEnd::Ms(200))), "00 F0 BB 0D");
    EXPECT_TRUE(sim.hasLine("line>tool 00 [4800,N,8,1] noise"));
}

TEST_F(SimTest, DelayHoldsReplyBack)
{
    startSim({"--delay", "400"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(200)).empty());
    EXPECT_EQ(tool.receive(12, ToolEnd::Ms(1500)).size(), 12u);
}

TEST_F(SimTest, SilentNeverAnswers)
{
    startSim({"--silent"});
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
    EXPECT_TRUE(sim.waitForLine("silent: --silent"));
}
