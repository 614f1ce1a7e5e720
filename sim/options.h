#pragma once

#include "linesettings.h"
#include "transceiver.h"

#include <optional>
#include <string>

struct Options {
    int com = 1;
    std::string portsDir; // empty: the tool's own map folder
    LineSettings device;  // the device's interface settings
    StoredParameters stored;
    bool echo = false;
    int split = 0;   // reply piece size, 0 for whole replies
    int delayMs = 0; // before each reply
    Faults faults;
    bool silent = false;
    bool noise = false;
    bool garbage = false;
    double seconds = 0; // run time limit, 0 for none
    std::optional<unsigned> seed;
};

struct ParsedOptions {
    std::optional<Options> options; // empty: see error or help
    std::string error;
    bool help = false;
};

ParsedOptions parseOptions(int argc, char **argv);

const char *usageText();

// $XDG_CONFIG_HOME/radio-setup/ports, or ~/.config/radio-setup/ports.
std::string defaultPortsDir();
