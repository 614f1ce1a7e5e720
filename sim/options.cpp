#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool parseUnsigned(const char *text, unsigned long max, unsigned long &out)
{
    if (!text || !*text || *text == '-' || *text == '+')
        return false;
    errno = 0;
    char *end = nullptr;
    const unsigned long v = std::strtoul(text, &end, 0);
    if (errno != 0 || *end != '\0' || v > max)
        return false;
    out = v;
    return true;
}

bool parseSeconds(const char *text, double &out)
{
    if (!text || !*text)
        return false;
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !(v > 0) || v > 1e7)
        return false;
    out = v;
    return true;
}

} // namespace

const char *usageText()
{
    return "usage: radio-sim [options]\n"
           "  --com N            publish as COMN (link comN), default 1\n"
           "  --ports-dir DIR    folder of the comN links, default\n"
           "                     $XDG_CONFIG_HOME/radio-setup/ports\n"
           "  --settings S       device interface, e.g. 9600,E,8,1 (default 4800,N,8,1)\n"
           "  --tx HZ --rx HZ    stored frequency points\n"
           "  --byte B           stored settings byte (0x.. or decimal); default\n"
           "                     matches --settings with channel rate 9600\n"
           "  --echo             the line returns each request ahead of the reply\n"
           "  --split N          replies in pieces of N bytes, a few ms apart\n"
           "  --delay MS         wait before each reply\n"
           "  --bad-ack          wrong third byte (0A) on acknowledgements\n"
           "  --ignore-writes    acknowledge writes but keep the stored values\n"
           "  --misstore F       store field F of a write (tx, rx or byte) with its\n"
           "                     lowest bit flipped\n"
           "  --silent           never answer\n"
           "  --noise            a stray 00 byte ahead of every second reply, the first included\n"
           "  --garbage          a few random bytes instead of silence at wrong settings\n"
           "  --seed N           seed for --garbage\n"
           "  --seconds S        exit after S seconds\n";
}

std::string defaultPortsDir()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home ? home : ".") + "/.config";
    }
    return base + "/radio-setup/ports";
}

ParsedOptions parseOptions(int argc, char **argv)
{
    ParsedOptions result;
    Options o;
    bool byteGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char *value = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long n = 0;
        auto fail = [&](const std::string &why) {
            result.error = arg + ": " + why;
            return result;
        };
        if (arg == "--help" || arg == "-h") {
            result.help = true;
            return result;
        } else if (arg == "--echo") {
            o.echo = true;
        } else if (arg == "--bad-ack") {
            o.faults.badAck = true;
        } else if (arg == "--ignore-writes") {
            o.faults.ignoreWrites = true;
        } else if (arg == "--misstore") {
            const std::string field = value ? value : "";
            if (field == "tx")
                o.faults.misstore = Faults::Field::Tx;
            else if (field == "rx")
                o.faults.misstore = Faults::Field::Rx;
            else if (field == "byte")
                o.faults.misstore = Faults::Field::Byte;
            else
                return fail("expects tx, rx or byte");
            ++i;
        } else if (arg == "--silent") {
            o.silent = true;
        } else if (arg == "--noise") {
            o.noise = true;
        } else if (arg == "--garbage") {
            o.garbage = true;
        } else if (arg == "--com") {
            if (!parseUnsigned(value, 255, n) || n == 0)
                return fail("expects a port number 1 to 255");
            o.com = static_cast<int>(n);
            ++i;
        } else if (arg == "--ports-dir") {
            if (!value || !*value)
                return fail("expects a folder");
            o.portsDir = value;
            ++i;
        } else if (arg == "--settings") {
            const auto s = value ? parseDeviceSettings(value) : std::nullopt;
            if (!s)
                return fail("expects speed,parity,8,1 with a speed of 1200 to 57600 and parity N, O or E");
            o.device = *s;
            ++i;
        } else if (arg == "--tx" || arg == "--rx") {
            if (!parseUnsigned(value, 0xFFFFFFFFul, n))
                return fail("expects a number 0 to 4294967295");
            (arg == "--tx" ? o.stored.tx : o.stored.rx) = static_cast<std::uint32_t>(n);
            ++i;
        } else if (arg == "--byte") {
            if (!parseUnsigned(value, 0xFF, n))
                return fail("expects a byte 0 to 255 (0x.. for hex)");
            o.stored.settingsByte = static_cast<std::uint8_t>(n);
            byteGiven = true;
            ++i;
        } else if (arg == "--split") {
            if (!parseUnsigned(value, 64, n) || n == 0)
                return fail("expects a piece size 1 to 64");
            o.split = static_cast<int>(n);
            ++i;
        } else if (arg == "--delay") {
            if (!parseUnsigned(value, 60000, n))
                return fail("expects milliseconds 0 to 60000");
            o.delayMs = static_cast<int>(n);
            ++i;
        } else if (arg == "--seed") {
            if (!parseUnsigned(value, 0xFFFFFFFFul, n))
                return fail("expects a number");
            o.seed = static_cast<unsigned>(n);
            ++i;
        } else if (arg == "--seconds") {
            if (!parseSeconds(value, o.seconds))
                return fail("expects a positive number of seconds");
            ++i;
        } else {
            result.error = "unknown option " + arg;
            return result;
        }
    }
    if (!byteGiven)
        o.stored.settingsByte = Transceiver::defaultSettingsByte(o.device);
    if (o.portsDir.empty())
        o.portsDir = defaultPortsDir();
    result.options = o;
    return result;
}
