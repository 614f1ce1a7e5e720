#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

// radio-sim as a child process of a test, without LD_PRELOAD so the pty shim
// only acts for the tool's side. Linking this file also lets an ASan build
// accept the shim preloaded into the test itself.
class SimProcess
{
public:
    using Ms = std::chrono::milliseconds;

    explicit SimProcess(std::string executable) : m_executable(std::move(executable)) { }
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts it and waits for its "ready" line. Without --ports-dir among the
    // arguments the link goes into a fresh temporary folder, removed on
    // destruction.
    bool start(const std::vector<std::string> &args, Ms timeout = Ms(5000));

    const std::string &portsDir() const { return m_portsDir; }
    const std::string &linkPath() const { return m_linkPath; }
    const std::string &ptyPath() const { return m_ptyPath; }

    // Every log line so far, without blocking.
    const std::vector<std::string> &lines();
    // Waits for a line containing text after the one the previous successful
    // wait returned.
    std::optional<std::string> waitForLine(const std::string &text, Ms timeout = Ms(2000));
    // Any line so far containing text.
    bool hasLine(const std::string &text);

    // Sends the signal (0: just wait), SIGKILL after the timeout, and reaps.
    // The exit status, 128 + n for death by signal n, -1 if there was no child.
    int stop(int signal = SIGTERM, Ms timeout = Ms(3000));

private:
    bool readAvailable(Ms wait);

    std::string m_executable;
    pid_t m_pid = -1;
    int m_out = -1;
    int m_exitStatus = -1;
    std::string m_partial;
    std::vector<std::string> m_lines;
    size_t m_cursor = 0;
    std::string m_tempDir;
    std::string m_portsDir;
    std::string m_linkPath;
    std::string m_ptyPath;
};
