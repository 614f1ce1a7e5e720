#pragma once

#include "options.h"
#include "ptyport.h"
#include "requestframer.h"
#include "transceiver.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <random>
#include <string>

// The device on its line: reads the tool's bytes from the pseudo-terminal,
// answers when the tool's settings match the device's, and logs the traffic.
class Simulator
{
public:
    using Clock = std::chrono::steady_clock;

    Simulator(const Options &options, PtyPort &port);

    // The first log line; a script waits for it before starting the tool.
    void announce();
    // Runs until stopRequested() turns true or the time limit passes.
    int run(const volatile std::sig_atomic_t &stopRequested);

private:
    struct Pending {
        Clock::time_point due;
        Bytes bytes;        // empty for a pure settings switch
        const char *label;  // "dev>tool" or "line>tool"
        const char *note;   // appended after the settings, may be empty
        LineSettings at;    // the device's settings the bytes are sent with
        unsigned session;
        std::optional<LineSettings> switchTo; // activation, after the bytes
    };

    void log(const std::string &text);
    void handleActivity();
    void sampleLine();
    // "modem drop N": DTR or RTS lowered N times since the last look, even
    // if raised again since (the shim counts them).
    void logModemDrops();
    void handleInput();
    void handleChunk(const Bytes &chunk);
    void answer(const Request &request);
    void schedule(Pending p, Clock::time_point earliest);
    void sendDue();
    void abandonPartial(const char *why);
    int timeoutMs() const;
    std::optional<LineSettings> lineSettings() const;
    void writeToTool(const Bytes &bytes, const char *label, const LineSettings &at, const char *note);

    Options m_options;
    PtyPort &m_port;
    Transceiver m_device;
    RequestFramer m_framer;
    std::mt19937 m_random;
    Clock::time_point m_start;
    Clock::time_point m_lastInput;
    Clock::time_point m_masterQuietUntil;
    std::deque<Pending> m_pending;
    int m_openCount = 0;
    unsigned m_session = 0;
    unsigned m_replies = 0;
    std::optional<LineSettings> m_lastLine;
    int m_lastModem = -1;
    std::uint8_t m_modemDrops = 0; // a new pseudo-terminal has counted none
};
