#include "simprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

extern char **environ;

// ASan wants its runtime first in the library list, ahead of the preloaded
// shim; ASAN_OPTIONS can still add to this.
extern "C" const char *__asan_default_options()
{
    return "verify_asan_link_order=0";
}

namespace {

using Clock = std::chrono::steady_clock;

// " key=value " in a log line.
std::string field(const std::string &line, const std::string &key)
{
    const size_t at = line.find(" " + key + "=");
    if (at == std::string::npos)
        return {};
    const size_t from = at + key.size() + 2;
    return line.substr(from, line.find(' ', from) - from);
}

int statusOf(int raw)
{
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
}

} // namespace

SimProcess::~SimProcess()
{
    stop(SIGTERM);
    if (!m_tempDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_tempDir, ec);
    }
}

bool SimProcess::start(const std::vector<std::string> &args, Ms timeout)
{
    if (m_pid > 0)
        return false;
    std::vector<std::string> argv{m_executable};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto dir = std::find(args.begin(), args.end(), "--ports-dir");
    if (dir != args.end() && dir + 1 != args.end()) {
        m_portsDir = dir[1];
    } else {
        char pattern[] = "/tmp/radio-sim-test-XXXXXX";
        if (!::mkdtemp(pattern))
            return false;
        m_tempDir = pattern;
        m_portsDir = m_tempDir + "/radio-setup/ports";
        argv.push_back("--ports-dir");
        argv.push_back(m_portsDir);
    }

    // Only exec is safe after fork in a threaded process.
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
        if (n == 0) { // the child has exited
            ::close(m_out);
            m_out = -1;
        }
        break;
    }
    for (size_t nl; (nl = m_partial.find('\n')) != std::string::npos; m_partial.erase(0, nl + 1))
        m_lines.push_back(m_partial.substr(0, nl));
    return got;
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
    const auto &all = lines();
    return std::any_of(all.begin(), all.end(), [&](const std::string &l) { return l.find(text) != std::string::npos; });
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
    while (m_out >= 0 && readAvailable(Ms(0))) { }
    if (m_out >= 0) {
        ::close(m_out);
        m_out = -1;
    }
    return m_exitStatus;
}
