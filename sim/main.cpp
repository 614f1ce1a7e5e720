// radio-sim: a simulated radio transceiver on a pseudo-terminal, published as
// COMn of the tool's port map (a link comN in the ports folder).
//
// Log: one line per event on stdout, flushed at once. Every line starts with
// the seconds since start (three decimals) and a space. Settings are written
// "speed,parity,8,1"; bytes as upper-case hex pairs separated by spaces.
//
//   T ready link=PATH pty=PATH device=S tx=N rx=N byte=HH flags=F
//                               first line: the link exists, the device is
//                               listening (flags: none, or a comma list of
//                               echo, split:N, delay:MS, bad-ack,
//                               ignore-writes, misstore:F, silent, noise,
//                               garbage)
//   T open | T close            the tool's end was opened or closed by
//                               another process
//   T line S                    the settings the tool set on its end, after
//                               each open and whenever they change (sampled)
//   T modem DTR=on|off RTS=on|off
//                               the tool's modem lines (only with the shim),
//                               after each open and whenever they change
//   T modem drop N              DTR or RTS lowered N times on the open port
//                               since the last look, though perhaps raised
//                               again since (only with the shim)
//   T tool>dev HEX [S]          bytes from the tool, at the line's settings
//   T dev>tool HEX [S]          a reply or a piece of one, sent at S
//   T line>tool HEX [S] echo|noise|garbage
//                               bytes the line adds: the echo of a request,
//                               a stray byte, garbage at wrong settings
//   T request read | request activate | request write tx=N rx=N byte=HH
//                               a whole request understood by the device
//   T drop HEX (REASON)         bytes that make no request: "not a request",
//                               "idle", "tool closed", "line settings changed"
//   T silent: line S, device S  the tool's settings differ from the device's
//   T silent: --silent          a request ignored on purpose
//   T discard HEX (REASON)      a reply not sent: "tool closed", "line now S"
//   T switch S -> S             activation changed the device's settings
//   T exit                      last line, after SIGINT/SIGTERM/SIGHUP or
//                               --seconds; the link is removed
//
// Errors before the ready line go to stderr with exit status 1 (2 for a bad
// command line).
#include "options.h"
#include "ptyport.h"
#include "simulator.h"

#include <csignal>
#include <signal.h>

#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;

extern "C" void onStopSignal(int)
{
    g_stop = 1;
}

} // namespace

int main(int argc, char **argv)
{
    const ParsedOptions parsed = parseOptions(argc, argv);
    if (parsed.help) {
        std::fputs(usageText(), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "radio-sim: %s\n%s", parsed.error.c_str(), usageText());
        return 2;
    }
    const Options &options = *parsed.options;

    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    // A reader of the log that goes away must not kill us before the link is
    // removed.
    signal(SIGPIPE, SIG_IGN);

    PtyPort port;
    const std::string link = options.portsDir + "/com" + std::to_string(options.com);
    if (const auto error = port.open(link)) {
        std::fprintf(stderr, "radio-sim: %s\n", error->c_str());
        return 1;
    }
    Simulator sim(options, port);
    sim.announce();
    return sim.run(g_stop);
}
