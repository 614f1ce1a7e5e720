#pragma once

#include <termios.h>

#include <optional>
#include <string>
#include <vector>

// The pseudo-terminal whose slave end the tool opens as its serial port.
// The simulator holds the master and keeps a descriptor on the slave itself,
// so the tool closing and reopening its end is not taken for the device
// going away (the master would read a hang-up while no slave is open).
class PtyPort
{
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort &) = delete;
    PtyPort &operator=(const PtyPort &) = delete;

    // Opens the pair and points linkPath at the slave. Returns an error text.
    std::optional<std::string> open(const std::string &linkPath);

    int masterFd() const { return m_master; }
    int watchFd() const { return m_inotify; }
    const std::string &slavePath() const { return m_slavePath; }
    const std::string &linkPath() const { return m_linkPath; }

    // The settings the tool has put on its end (the master reports the
    // slave's termios).
    std::optional<termios> toolTermios() const;

    enum class Activity { Opened, Closed };
    // Opens and closes of the slave by others since the last call, in order.
    std::vector<Activity> readActivity();

    // Drops what was sent to the tool's end but not read, and lifts an
    // exclusive-use flag that a closed session left behind.
    void resetToolEnd();

private:
    int m_master = -1;
    int m_slave = -1;
    int m_inotify = -1;
    std::string m_slavePath;
    std::string m_linkPath;
};
