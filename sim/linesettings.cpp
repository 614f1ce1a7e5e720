#include "linesettings.h"

#include <termios.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

struct SpeedCode {
    int speed;
    speed_t code;
};

constexpr std::array<SpeedCode, 15> kSpeeds{{
        {0, B0},
        {300, B300},
        {600, B600},
        {1200, B1200},
        {2400, B2400},
        {4800, B4800},
        {9600, B9600},
        {19200, B19200},
        {38400, B38400},
        {57600, B57600},
        {115200, B115200},
        {230400, B230400},
        {460800, B460800},
        {921600, B921600},
        {150, B150},
}};

constexpr std::array<int, 7> kDeviceRates{1200, 2400, 4800, 9600, 19200, 38400, 57600};

} // namespace

std::optional<LineSettings> parseDeviceSettings(const std::string &text)
{
    char parity = 0;
    int speed = 0;
    int data = 0;
    int stop = 0;
    int used = 0;
    if (std::sscanf(text.c_str(), "%d,%c,%d,%d%n", &speed, &parity, &data, &stop, &used) != 4
        || static_cast<size_t>(used) != text.size())
        return std::nullopt;
    bool rateKnown = false;
    for (int r : kDeviceRates)
        rateKnown = rateKnown || r == speed;
    if (parity >= 'a' && parity <= 'z')
        parity = static_cast<char>(parity - 'a' + 'A');
    if (!rateKnown || (parity != 'N' && parity != 'O' && parity != 'E') || data != 8 || stop != 1)
        return std::nullopt;
    return LineSettings{speed, parity, data, stop};
}

std::string formatSettings(const LineSettings &s)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d,%c,%d,%d", s.speed, s.parity, s.dataBits, s.stopBits);
    return buf;
}

LineSettings settingsFromTermios(const termios &t)
{
    LineSettings s;
    const speed_t code = cfgetospeed(&t);
    s.speed = -1;
    for (const SpeedCode &c : kSpeeds) {
        if (c.code == code)
            s.speed = c.speed;
    }
    if (t.c_cflag & (CMSPAR | PARENB))
        s.parity = (t.c_cflag & PARODD) ? 'O' : 'E';
    else
        s.parity = 'N';
    switch (t.c_cflag & CSIZE) {
    case CS5: s.dataBits = 5; break;
    case CS6: s.dataBits = 6; break;
    case CS7: s.dataBits = 7; break;
    default: s.dataBits = 8; break;
    }
    s.stopBits = (t.c_cflag & CSTOPB) ? 2 : 1;
    return s;
}
