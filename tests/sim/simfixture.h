#pragma once

#include "simprocess.h"
#include "toolend.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A running radio-sim and the tool's end of its line.
class SimTest : public ::testing::Test
{
protected:
    SimTest() : sim(RADIO_SIM_PATH) { }

    void startSim(const std::vector<std::string> &args)
    {
        ASSERT_TRUE(sim.start(args)) << "radio-sim did not get ready";
    }

    // Opens the tool's end at the settings and sends one request.
    void ask(const std::string &settings, const std::string &request)
    {
        ASSERT_TRUE(tool.open(sim.linkPath(), settings)) << settings;
        ASSERT_TRUE(tool.send(hexBytes(request)));
    }

    // Long enough for a reply that is coming to have come.
    static constexpr ToolEnd::Ms kQuiet{300};

    SimProcess sim;
    ToolEnd tool;
};
