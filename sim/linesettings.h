#pragma once

#include <optional>
#include <string>

struct termios;

// Speed and framing of one end of the serial line, as "9600,E,8,1".
struct LineSettings {
    int speed = 4800;
    char parity = 'N'; // 'N', 'O' or 'E'
    int dataBits = 8;
    int stopBits = 1;

    bool operator==(const LineSettings &o) const
    {
        return speed == o.speed && parity == o.parity && dataBits == o.dataBits
                && stopBits == o.stopBits;
    }
    bool operator!=(const LineSettings &o) const { return !(*this == o); }
};

// Strict: one of the seven device rates, parity N/O/E (either case), "8,1".
std::optional<LineSettings> parseDeviceSettings(const std::string &text);

std::string formatSettings(const LineSettings &s);

// The settings the tool has put on its end of the pseudo-terminal. The pty
// driver drops PARENB, so the preload shim keeps a requested parity in CMSPAR
// (with PARODD telling odd from even); a plain PARENB is honoured as well.
LineSettings settingsFromTermios(const termios &t);
