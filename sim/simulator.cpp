#include "simulator.h"

#include "ptyshim.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kPieceGapMs = 5;      // between pieces of a split reply
constexpr int kIdleGapMs = 100;     // a frame unfinished this long is dropped
constexpr int kLineSampleMs = 10;   // how often the tool's settings are looked at
constexpr int kQuietAfterErrorMs = 20;
constexpr std::uint8_t kNoiseByte = 0x00;

std::string hex(const Bytes &bytes)
{
    std::string out;
    char buf[4];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        if (!out.empty())
            out += ' ';
        out += buf;
    }
    return out;
}

std::string hexByte(std::uint8_t b)
{
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

int msUntil(Simulator::Clock::time_point now, Simulator::Clock::time_point t)
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - now).count();
    return ms < 0 ? 0 : static_cast<int>(std::min<long long>(ms + 1, 60000));
}

} // namespace

Simulator::Simulator(const Options &options, PtyPort &port)
    : m_options(options),
      m_port(port),
      m_device(options.device, options.stored),
      m_random(options.seed ? *options.seed : std::random_device{}()),
      m_start(Clock::now()),
      m_lastInput(m_start),
      m_masterQuietUntil(m_start)
{
}

void Simulator::log(const std::string &text)
{
    const double t = std::chrono::duration<double>(Clock::now() - m_start).count();
    std::printf("%.3f %s\n", t, text.c_str());
    std::fflush(stdout);
}

void Simulator::announce()
{
    const StoredParameters &s = m_device.stored();
    std::string flags;
    auto flag = [&flags](bool on, const std::string &name) {
        if (on)
            flags += (flags.empty() ? "" : ",") + name;
    };
    flag(m_options.echo, "echo");
    flag(m_options.split > 0, "split:" + std::to_string(m_options.split));
    flag(m_options.delayMs > 0, "delay:" + std::to_string(m_options.delayMs));
    flag(m_options.faults.badAck, "bad-ack");
    flag(m_options.faults.ignoreWrites, "ignore-writes");
    static const char *const kMisstored[] = {"", "tx", "rx", "byte"};
    flag(m_options.faults.misstore != Faults::Field::None,
         std::string("misstore:") + kMisstored[static_cast<int>(m_options.faults.misstore)]);
    flag(m_options.silent, "silent");
    flag(m_options.noise, "noise");
    flag(m_options.garbage, "garbage");
    log("ready link=" + m_port.linkPath() + " pty=" + m_port.slavePath()
        + " device=" + formatSettings(m_device.interfaceSettings())
        + " tx=" + std::to_string(s.tx) + " rx=" + std::to_string(s.rx)
        + " byte=" + hexByte(s.settingsByte) + " flags=" + (flags.empty() ? "none" : flags));
}

std::optional<LineSettings> Simulator::lineSettings() const
{
    const auto t = m_port.toolTermios();
    if (!t)
        return std::nullopt;
    return settingsFromTermios(*t);
}

void Simulator::handleActivity()
{
    const std::vector<PtyPort::Activity> events = m_port.readActivity();
    // A drop just before a close belongs ahead of it in the log.
    logModemDrops();
    int openCount = m_openCount;
    bool closed = false;
    for (PtyPort::Activity a : events) {
        closed = closed || a == PtyPort::Activity::Closed;
        openCount = std::max(0, openCount + (a == PtyPort::Activity::Opened ? 1 : -1));
    }
    // Flush only once no one holds the tool's end: a reopen that has already
    // happened may be waiting for its own reply. Done before the log lines,
    // so a reader of "close" finds the end already clean.
    if (closed && openCount == 0)
        m_port.resetToolEnd();
    for (PtyPort::Activity a : events) {
        if (a == PtyPort::Activity::Opened) {
            log("open");
            m_lastLine.reset();
            m_lastModem = -1;
        } else {
            log("close");
        }
    }
    m_openCount = openCount;
    if (closed) {
        // Whatever was on its way belongs to a session that has ended.
        ++m_session;
        abandonPartial("tool closed");
    }
}

void Simulator::sampleLine()
{
    const auto t = m_port.toolTermios();
    if (!t)
        return;
    const LineSettings s = settingsFromTermios(*t);
    if (!m_lastLine || *m_lastLine != s) {
        m_lastLine = s;
        log("line " + formatSettings(s));
    }
    logModemDrops();
    const int modem = t->c_cc[PTYSHIM_MODEM_CC];
    if ((modem & PTYSHIM_MODEM_PRESENT) && modem != m_lastModem) {
        m_lastModem = modem;
        log(std::string("modem DTR=") + ((modem & PTYSHIM_MODEM_DTR) ? "on" : "off")
            + " RTS=" + ((modem & PTYSHIM_MODEM_RTS) ? "on" : "off"));
    }
}

void Simulator::logModemDrops()
{
    const auto t = m_port.toolTermios();
    if (!t)
        return;
    const std::uint8_t drops = t->c_cc[PTYSHIM_DROPS_CC];
    if (drops != m_modemDrops)
        log("modem drop " + std::to_string(static_cast<std::uint8_t>(drops - m_modemDrops)));
    m_modemDrops = drops;
}

void Simulator::writeToTool(const Bytes &bytes, const char *label, const LineSettings &at,
                            const char *note)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_port.masterFd(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            log("discard " + hex(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(done), bytes.end()))
                + " (" + std::strerror(errno) + ")");
            break;
        }
        done += static_cast<size_t>(n);
    }
    if (done > 0) {
        std::string line = std::string(label) + " " + hex(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(done)))
                + " [" + formatSettings(at) + "]";
        if (note && *note)
            line += std::string(" ") + note;
        log(line);
    }
}

void Simulator::abandonPartial(const char *why)
{
    RequestFramer::Result r;
    m_framer.abandonPartial(r);
    for (const Bytes &d : r.dropped)
        log("drop " + hex(d) + " (" + why + ")");
}

void Simulator::handleInput()
{
    Bytes chunk(512);
    for (;;) {
        const ssize_t n = ::read(m_port.masterFd(), chunk.data(), chunk.size());
        if (n > 0) {
            handleChunk(Bytes(chunk.begin(), chunk.begin() + n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // Should not happen while we hold the slave; do not spin on it.
            m_masterQuietUntil = Clock::now() + std::chrono::milliseconds(kQuietAfterErrorMs);
        }
        return;
    }
}

void Simulator::handleChunk(const Bytes &chunk)
{
    const auto now = Clock::now();
    const auto line = lineSettings();
    const LineSettings device = m_device.interfaceSettings();
    const LineSettings shown = line ? *line : device;
    log("tool>dev " + hex(chunk) + " [" + formatSettings(shown) + "]");
    if (m_options.echo)
        writeToTool(chunk, "line>tool", shown, "echo");

    if (!line || *line != device) {
        // At other settings the device hears only noise and cannot answer.
        abandonPartial("line settings changed");
        log("silent: line " + formatSettings(shown) + ", device " + formatSettings(device));
        if (m_options.garbage) {
            std::uniform_int_distribution<int> count(1, 4);
            std::uniform_int_distribution<int> value(0, 254);
            Bytes junk(static_cast<size_t>(count(m_random)));
            // Never 0xF0, so garbage never looks like the start of a frame.
            for (std::uint8_t &b : junk) {
                const int v = value(m_random);
                b = static_cast<std::uint8_t>(v >= kStart ? v + 1 : v);
            }
            writeToTool(junk, "line>tool", shown, "garbage");
        }
        m_lastInput = now;
        return;
    }

    if (m_framer.hasPartial() && now - m_lastInput > std::chrono::milliseconds(kIdleGapMs))
        abandonPartial("idle");
    m_lastInput = now;
    RequestFramer::Result r;
    m_framer.feed(chunk.data(), chunk.size(), r);
    for (const Bytes &d : r.dropped)
        log("drop " + hex(d) + " (not a request)");
    for (const Request &req : r.requests)
        answer(req);
}

void Simulator::answer(const Request &request)
{
    switch (request.kind) {
    case RequestKind::Read:
        log("request read");
        break;
    case RequestKind::Write: {
        const Bytes &b = request.bytes;
        auto le = [&b](size_t at) {
            return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8
                    | static_cast<std::uint32_t>(b[at + 2]) << 16
                    | static_cast<std::uint32_t>(b[at + 3]) << 24;
        };
        log("request write tx=" + std::to_string(le(2)) + " rx=" + std::to_string(le(6))
            + " byte=" + hexByte(b[10]));
        break;
    }
    case RequestKind::Activate:
        log("request activate");
        break;
    }
    if (m_options.silent) {
        log("silent: --silent");
        return;
    }
    const Bytes reply = m_device.answer(request, m_options.faults);
    const LineSettings at = m_device.interfaceSettings();
    auto due = Clock::now() + std::chrono::milliseconds(m_options.delayMs);
    const auto gap = std::chrono::milliseconds(kPieceGapMs);
    ++m_replies;
    if (m_options.noise && m_replies % 2 == 1) {
        schedule({due, {kNoiseByte}, "line>tool", "noise", at, m_session, std::nullopt}, due);
        due += gap;
    }
    const size_t piece = m_options.split > 0 ? static_cast<size_t>(m_options.split) : reply.size();
    for (size_t from = 0; from < reply.size(); from += piece) {
        const size_t to = std::min(reply.size(), from + piece);
        schedule({due, Bytes(reply.begin() + static_cast<std::ptrdiff_t>(from), reply.begin() + static_cast<std::ptrdiff_t>(to)),
                  "dev>tool", "", at, m_session, std::nullopt},
                 due);
        due += gap;
    }
    if (request.kind == RequestKind::Activate)
        schedule({due, {}, "", "", at, m_session, m_device.settingsAfterActivation()}, due);
}

void Simulator::schedule(Pending p, Clock::time_point earliest)
{
    // Keep the order of the line: nothing overtakes what is already queued.
    p.due = m_pending.empty() ? earliest : std::max(earliest, m_pending.back().due);
    m_pending.push_back(std::move(p));
}

void Simulator::sendDue()
{
    while (!m_pending.empty() && m_pending.front().due <= Clock::now()) {
        Pending p = std::move(m_pending.front());
        m_pending.pop_front();
        if (!p.bytes.empty()) {
            const auto line = lineSettings();
            if (p.session != m_session) {
                log("discard " + hex(p.bytes) + " (tool closed)");
            } else if (!line || *line != p.at) {
                log("discard " + hex(p.bytes) + " (line now "
                    + (line ? formatSettings(*line) : std::string("unknown")) + ")");
            } else {
                writeToTool(p.bytes, p.label, p.at, p.note);
                // Pieces stay apart even when this one went out late.
                const auto next = Clock::now() + std::chrono::milliseconds(kPieceGapMs);
                if (!m_pending.empty() && m_pending.front().due < next)
                    m_pending.front().due = next;
            }
        }
        if (p.switchTo) {
            log("switch " + formatSettings(m_device.interfaceSettings()) + " -> "
                + formatSettings(*p.switchTo));
            m_device.switchInterface(*p.switchTo);
        }
    }
}

int Simulator::timeoutMs() const
{
    const auto now = Clock::now();
    int t = 1000;
    if (m_openCount > 0)
        t = kLineSampleMs;
    if (!m_pending.empty())
        t = std::min(t, msUntil(now, m_pending.front().due));
    if (m_framer.hasPartial())
        t = std::min(t, msUntil(now, m_lastInput + std::chrono::milliseconds(kIdleGapMs)));
    if (now < m_masterQuietUntil)
        t = std::min(t, msUntil(now, m_masterQuietUntil));
    if (m_options.seconds > 0) {
        const auto end = m_start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(m_options.seconds));
        t = std::min(t, msUntil(now, end));
    }
    return t;
}

int Simulator::run(const volatile std::sig_atomic_t &stopRequested)
{
    sigset_t blocked;
    sigset_t waiting;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    // Signals are let in only while waiting, so a stop is never missed.
    sigprocmask(SIG_BLOCK, &blocked, &waiting);
    sigdelset(&waiting, SIGINT);
    sigdelset(&waiting, SIGTERM);
    sigdelset(&waiting, SIGHUP);

    const auto limit = m_options.seconds > 0
            ? m_start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(m_options.seconds))
            : Clock::time_point::max();
    while (!stopRequested && Clock::now() < limit) {
        const bool watchMaster = Clock::now() >= m_masterQuietUntil;
        pollfd fds[2] = {{m_port.watchFd(), POLLIN, 0}, {watchMaster ? m_port.masterFd() : -1, POLLIN, 0}};
        const int ms = timeoutMs();
        const timespec ts{ms / 1000, (ms % 1000) * 1000000L};
        const int n = ::ppoll(fds, 2, &ts, &waiting);
        if (n < 0 && errno != EINTR) {
            log(std::string("error poll: ") + std::strerror(errno));
            return 1;
        }
        if (stopRequested)
            break;
        // Opens and closes first: bytes read afterwards belong to the session
        // that is current then.
        if (n > 0 && (fds[0].revents & POLLIN))
            handleActivity();
        if (m_openCount > 0)
            sampleLine();
        if (n > 0 && fds[1].revents)
            handleInput();
        if (m_framer.hasPartial() && Clock::now() - m_lastInput > std::chrono::milliseconds(kIdleGapMs))
            abandonPartial("idle");
        sendDue();
    }
    log("exit");
    return 0;
}
