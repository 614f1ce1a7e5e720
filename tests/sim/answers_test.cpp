#include "simfixture.h"

// Replies byte for byte, at the device's own settings.

TEST_F(SimTest, ReadGetsParameterFrameWithStoredValues)
{
    startSim({"--settings", "9600,E,8,1", "--tx", "100000", "--rx", "999999", "--byte", "0xA3"});
    ask("9600,E,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA A0 86 01 00 3F 42 0F 00 A3 0D");
    EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(100)).empty());
    EXPECT_TRUE(sim.waitForLine("tool>dev F0 CC 0D [9600,E,8,1]"));
    EXPECT_TRUE(sim.waitForLine("request read"));
    EXPECT_TRUE(sim.waitForLine("dev>tool F0 AA A0 86 01 00 3F 42 0F 00 A3 0D [9600,E,8,1]"));
}

TEST_F(SimTest, DefaultDeviceAnswersAt4800NoParity)
{
    startSim({});
    EXPECT_TRUE(sim.hasLine(
            "device=4800,N,8,1 tx=433920000 rx=434920000 byte=0E flags=none"));
    ask("4800,N,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
}

TEST_F(SimTest, DefaultSettingsByteFollowsInterfaceSettings)
{
    startSim({"--settings", "57600,O,8,1"});
    ask("57600,O,8,1", "F0 CC 0D");
    // 57600: low 2 + high flag 0x40; odd: 0x20; channel 9600: 0x0C.
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 6E 0D");
}

TEST_F(SimTest, WriteIsAcknowledgedAndStored)
{
    startSim({"--settings", "19200,O,8,1"});
    ask("19200,O,8,1", "F0 AA 40 42 0F 00 80 84 1E 00 C3 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 EE 0D");
    EXPECT_TRUE(sim.waitForLine("request write tx=1000000 rx=2000000 byte=C3"));
    ASSERT_TRUE(tool.send(hexBytes("F0 CC 0D")));
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 40 42 0F 00 80 84 1E 00 C3 0D");
}

TEST_F(SimTest, WriteDoesNotChangeInterfaceUntilActivation)
{
    startSim({"--settings", "4800,N,8,1"});
    ask("4800,N,8,1", "F0 AA A0 86 01 00 3F 42 0F 00 13 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 EE 0D");
    ASSERT_TRUE(tool.send(hexBytes("F0 CC 0D")));
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA A0 86 01 00 3F 42 0F 00 13 0D");
}

TEST_F(SimTest, ActivateAcknowledgesThenSwitchesToStoredSettings)
{
    // 0x13: interface 9600 (low 3), parity even (01 in bits 5-4).
    startSim({"--settings", "4800,N,8,1", "--byte", "0x13"});
    ask("4800,N,8,1", "F0 33 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 BB 0D");
    EXPECT_TRUE(sim.waitForLine("switch 4800,N,8,1 -> 9600,E,8,1"));

    ASSERT_TRUE(tool.send(hexBytes("F0 CC 0D")));
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty()) << "still answering at the old settings";

    ask("9600,E,8,1", "F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 13 0D");
}

TEST_F(SimTest, ActivateDecodesHighRatesAndOddParity)
{
    // 0x61: low 1 + high flag = 38400; bits 5-4 = 10 = odd.
    startSim({"--settings", "1200,E,8,1", "--byte", "0x61"});
    ask("1200,E,8,1", "F0 33 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 BB 0D");
    EXPECT_TRUE(sim.waitForLine("switch 1200,E,8,1 -> 38400,O,8,1"));
}

TEST_F(SimTest, ActivateKeepsParityWhenFieldIsThree)
{
    // 0x73: 9600 (low 3, the flag does not matter), parity field 3.
    startSim({"--settings", "2400,O,8,1", "--byte", "0x73"});
    ask("2400,O,8,1", "F0 33 0D");
    EXPECT_EQ(hexText(tool.receive(3)), "F0 BB 0D");
    EXPECT_TRUE(sim.waitForLine("switch 2400,O,8,1 -> 9600,O,8,1"));
}

// Silence at settings other than the device's.

TEST_F(SimTest, SilentAtOtherSpeed)
{
    startSim({"--settings", "9600,E,8,1"});
    ask("4800,E,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
    EXPECT_TRUE(sim.waitForLine("silent: line 4800,E,8,1, device 9600,E,8,1"));
}

TEST_F(SimTest, SilentAtOtherParity)
{
    startSim({"--settings", "9600,E,8,1"});
    ask("9600,O,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
    EXPECT_TRUE(sim.waitForLine("silent: line 9600,O,8,1, device 9600,E,8,1"));
    ask("9600,N,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
    EXPECT_TRUE(sim.waitForLine("silent: line 9600,N,8,1, device 9600,E,8,1"));
}

TEST_F(SimTest, SilentDeviceStillAnswersOnceSettingsMatch)
{
    startSim({"--settings", "2400,O,8,1"});
    ask("2400,E,8,1", "F0 CC 0D");
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
    ask("2400,O,8,1", "F0 CC 0D");
    EXPECT_EQ(tool.receive(12).size(), 12u);
}

TEST_F(SimTest, GarbageAtWrongSettingsIsAFewBytesNeverAFrameStart)
{
    startSim({"--settings", "9600,E,8,1", "--garbage", "--seed", "7"});
    for (const char *settings : {"1200,N,8,1", "4800,O,8,1", "57600,E,8,1"}) {
        ask(settings, "F0 CC 0D");
        const Bytes junk = tool.receiveFor(ToolEnd::Ms(150));
        EXPECT_GE(junk.size(), 1u) << settings;
        EXPECT_LE(junk.size(), 4u) << settings;
        for (std::uint8_t b : junk)
            EXPECT_NE(b, 0xF0) << settings;
    }
    EXPECT_TRUE(sim.waitForLine("garbage"));
}

// Requests that are not whole frames.

TEST_F(SimTest, MalformedRequestsGetNoAnswer)
{
    startSim({"--settings", "4800,N,8,1"});
    ASSERT_TRUE(tool.open(sim.linkPath(), "4800,N,8,1"));
    for (const char *bad : {"F0 CC 0E", "F1 CC 0D", "F0 AB 0D", "F0 EE 0D",
                            "F0 AA A0 86 01 00 3F 42 0F 00 A3 0E",
                            "F0 AA A0 86 01 00 3F 42 0F 00 0D"}) {
        ASSERT_TRUE(tool.send(hexBytes(bad)));
        EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(200)).empty()) << bad;
    }
    EXPECT_TRUE(sim.hasLine("drop F0 CC 0E (not a request)"));
    EXPECT_TRUE(sim.hasLine("drop F1 CC 0D (not a request)"));
    EXPECT_FALSE(sim.hasLine(" request "));
    // And the device is still listening.
    ASSERT_TRUE(tool.send(hexBytes("F0 CC 0D")));
    EXPECT_EQ(tool.receive(12).size(), 12u);
}

TEST_F(SimTest, ResynchronisesOnNextStartByte)
{
    startSim({"--settings", "4800,N,8,1"});
    ask("4800,N,8,1", "00 12 0D F0 F0 CC 0D");
    EXPECT_EQ(hexText(tool.receive(12)), "F0 AA 00 18 DD 19 40 5A EC 19 0E 0D");
    EXPECT_TRUE(tool.receiveFor(ToolEnd::Ms(100)).empty());
}

TEST_F(SimTest, RequestSplitAcrossWritesIsJoined)
{
    startSim({});
    ask("4800,N,8,1", "F0");
    ASSERT_TRUE(tool.send(hexBytes("CC")));
    ASSERT_TRUE(tool.send(hexBytes("0D")));
    EXPECT_EQ(tool.receive(12).size(), 12u);
}

TEST_F(SimTest, IdleGapAbandonsUnfinishedFrame)
{
    startSim({});
    ask("4800,N,8,1", "F0 CC");
    EXPECT_TRUE(sim.waitForLine("drop F0 CC (idle)"));
    ASSERT_TRUE(tool.send(hexBytes("0D")));
    EXPECT_TRUE(tool.receiveFor(kQuiet).empty());
}
