#pragma once

#include <sys/types.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>
#include <vector>

// Runs radio-sim as a child process for a test: starts it, waits until its
// comN link exists, reads its log lines, and stops and reaps it. The child
// runs without LD_PRELOAD, so the pty shim only ever acts for the tool's side.
//
//   SimProcess sim(RADIO_SIM_PATH);
//   ASSERT_TRUE(sim.start({"--settings", "9600,E,8,1"}));
//   qputenv("XDG_CONFIG_HOME", sim.configHome().c_str()); // tool finds COM1
//   ASSERT_TRUE(sim.waitForLine("dev>tool F0 AA"));
//
// A test that opens the pty at a parity other than none needs the shim in
// its own process from the start:
//   gtest_discover_tests(t DISCOVERY_MODE PRE_TEST PROPERTIES LABELS e2e
//       ENVIRONMENT "LD_PRELOAD=${CMAKE_BINARY_DIR}/bin/libptyshim.so")
// plus add_dependencies(t radio-sim ptyshim) and
// target_compile_definitions(t PRIVATE RADIO_SIM_PATH="$<TARGET_FILE:radio-sim>").
// Linking this file also tells an ASan build to accept the preloaded shim.
class SimProcess
{
public:
    using Ms = std::chrono::milliseconds;

    explicit SimProcess(std::string executable);
    ~SimProcess();
    SimProcess(const SimProcess &) = delete;
    SimProcess &operator=(const SimProcess &) = delete;

    // Starts the simulator and waits for its "ready" line. Without
    // --ports-dir among the arguments the link is put into a fresh temporary
    // folder, configHome() + "/radio-setup/ports", removed again on
    // destruction. False if it exited or did not get ready in time.
    bool start(const std::vector<std::string> &args, Ms timeout = Ms(5000));

    // The folder to give the tool as XDG_CONFIG_HOME (empty when the
    // arguments named their own --ports-dir).
    const std::string &configHome() const { return m_configHome; }
    const std::string &portsDir() const { return m_portsDir; }
    // From the ready line: the published comN link and the pty it points at.
    const std::string &linkPath() const { return m_linkPath; }
    const std::string &ptyPath() const { return m_ptyPath; }
    pid_t pid() const { return m_pid; }
    bool running();

    // Every log line so far; reads what is waiting without blocking.
    const std::vector<std::string> &lines();
    // Waits for a line containing text, searching from just after the line
    // that the previous successful wait returned. The line, or nothing on
    // timeout or exit.
    std::optional<std::string> waitForLine(const std::string &text, Ms timeout = Ms(2000));
    // Searches all lines so far, from the start, without waiting or moving on.
    bool hasLine(const std::string &text);

    // Sends the signal (0: none, just wait), waits for the exit (SIGKILL
    // after the timeout) and reaps. The exit status, 128 + n for death by signal n, -1 if there was
    // no child.
    int stop(int signal = SIGTERM, Ms timeout = Ms(3000));

private:
    bool readAvailable(Ms wait);
    void splitLines();

    std::string m_executable;
    pid_t m_pid = -1;
    int m_out = -1;
    int m_exitStatus = -1;
    std::string m_partial;
    std::vector<std::string> m_lines;
    size_t m_cursor = 0;
    std::string m_configHome;
    std::string m_portsDir;
    std::string m_linkPath;
    std::string m_ptyPath;
};
