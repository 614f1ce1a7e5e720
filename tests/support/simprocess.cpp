#include "simprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

extern char **environ;

// Tests that use the simulator run with the pty shim preloaded. ASan wants
// its runtime first in the library list and would stop such a test before
// main; this default turns that check off (ASAN_OPTIONS can still add to it).
// Without ASan the function is never called.
extern "C" const char *__asan_default_options()
{
    return "verify_asan_link_order=0";
}

namespace {

using Clock = std::chrono::steady_clock;

std::string field(const std::string &line, const std::string &key)
{
    const std::string k = " " + key + "=";
    const size_t at = line.find(k);
    if (at == std::string::npos)
        return {};
    const size_t from = at + k.size();
    const size_t to = line.find(' ', from);
    return line.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

int statusOf(int raw)
{
    if (WIFEXITED(raw))
        return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw))
        return 128 + WTERMSIG(raw);
    return -1;
}

} // namespace

SimProcess::SimProcess(std::string executable) : m_executable(std::move(executable)) { }

SimProcess::~SimProcess()
{
    stop(SIGTERM);
    if (!m_configHome.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_configHome, ec);
    }
}

bool SimProcess::start(const std::vector<std::string> &args, Ms timeout)
{
    if (m_pid > 0)
        return false;
    std::vector<std::string> argv{m_executable};
    bool ownFolder = false;
    for (size_t i = 0; i < args.size(); ++i) {
        argv.push_back(args[i]);
        if (args[i] == "--ports-dir" && i + 1 < args.size()) {
            ownFolder = true;
            m_portsDir = args[i + 1];
        }
    }
    if (!ownFolder) {
        char pattern[] = "/tmp/radio-sim-test-XXXXXX";
        if (!::mkdtemp(pattern))
            return false;
        m_configHome = pattern;
        m_portsDir = m_configHome + "/radio-setup/ports";
        argv.push_back("--ports-dir");
        argv.push_back(m_portsDir);
    }

    // Everything the child needs is made before fork: the test process may
    // have threads, and only exec is safe after fork then.
    std::vector<char *> cargv;
    for (std::string &a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    std::vector<char *> cenv;
    for (char **e = environ; *e; ++e) {
        if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0)
            cenv.push_back(*e);
    }
    cenv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return false;
    }
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::execve(cargv[0], cargv.data(), cenv.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    m_pid = pid;
    m_out = fds[0];
    ::fcntl(m_out, F_SETFL, ::fcntl(m_out, F_GETFL) | O_NONBLOCK);

    const auto ready = waitForLine(" ready ", timeout);
    if (!ready)
        return false;
    m_linkPath = field(*ready, "link");
    m_ptyPath = field(*ready, "pty");
    struct stat st;
    return !m_linkPath.empty() && ::lstat(m_linkPath.c_str(), &st) == 0;
}

bool SimProcess::running()
{
    if (m_pid <= 0)
        return false;
    int raw = 0;
    const pid_t r = ::waitpid(m_pid, &raw, WNOHANG);
    if (r == m_pid) {
        m_exitStatus = statusOf(raw);
        m_pid = -1;
        return false;
    }
    return r == 0;
}

bool SimProcess::readAvailable(Ms wait)
{
    if (m_out < 0)
        return false;
    pollfd p{m_out, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(wait.count())) <= 0)
        return false;
    char buf[4096];
    bool got = false;
    for (;;) {
        const ssize_t n = ::read(m_out, buf, sizeof buf);
        if (n > 0) {
            m_partial.append(buf, static_cast<size_t>(n));
            got = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) {
            // The child closed its end: it has exited.
            ::close(m_out);
            m_out = -1;
        }
        break;
    }
    splitLines();
    return got;
}

void SimProcess::splitLines()
{
    size_t nl;
    while ((nl = m_partial.find('\n')) != std::string::npos) {
        m_lines.push_back(m_partial.substr(0, nl));
        m_partial.erase(0, nl + 1);
    }
}

const std::vector<std::string> &SimProcess::lines()
{
    while (readAvailable(Ms(0))) { }
    return m_lines;
}

std::optional<std::string> SimProcess::waitForLine(const std::string &text, Ms timeout)
{
    const auto end = Clock::now() + timeout;
    for (;;) {
        lines();
        for (size_t i = m_cursor; i < m_lines.size(); ++i) {
            if (m_lines[i].find(text) != std::string::npos) {
                m_cursor = i + 1;
                return m_lines[i];
            }
        }
        const auto left = std::chrono::duration_cast<Ms>(end - Clock::now());
        if (left.count() <= 0 || m_out < 0)
            return std::nullopt;
        readAvailable(std::min(left, Ms(50)));
    }
}

bool SimProcess::hasLine(const std::string &text)
{
    for (const std::string &l : lines()) {
        if (l.find(text) != std::string::npos)
            return true;
    }
    return false;
}

int SimProcess::stop(int signal, Ms timeout)
{
    if (m_pid <= 0) {
        lines();
        return m_exitStatus;
    }
    if (signal != 0)
        ::kill(m_pid, signal);
    const auto end = Clock::now() + timeout;
    int raw = 0;
    pid_t r = 0;
    while ((r = ::waitpid(m_pid, &raw, WNOHANG)) == 0 && Clock::now() < end) {
        readAvailable(Ms(0));
        std::this_thread::sleep_for(Ms(5));
    }
    if (r == 0) {
        ::kill(m_pid, SIGKILL);
        r = ::waitpid(m_pid, &raw, 0);
    }
    m_exitStatus = r == m_pid ? statusOf(raw) : -1;
    m_pid = -1;
    // Whatever it printed before it went.
    while (m_out >= 0 && readAvailable(Ms(0))) { }
    if (m_out >= 0) {
        ::close(m_out);
        m_out = -1;
    }
    return m_exitStatus;
}
