#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The tool's end of the simulated line, driven the way the tool drives its
// serial port: raw 8 data bits, 1 stop bit, the given speed and parity set
// with tcsetattr (through the pty shim when parity is asked for).
class ToolEnd
{
public:
    using Ms = std::chrono::milliseconds;

    ToolEnd() = default;
    ~ToolEnd();
    ToolEnd(const ToolEnd &) = delete;
    ToolEnd &operator=(const ToolEnd &) = delete;

    // path: the pty or the comN link; settings like "9600,E,8,1".
    bool open(const std::string &path, const std::string &settings);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    bool send(const Bytes &bytes);
    // Collects what arrives until count bytes are in or the timeout passes.
    Bytes receive(size_t count, Ms timeout = Ms(1000));
    // Everything that arrives within the window.
    Bytes receiveFor(Ms window);

private:
    int m_fd = -1;
};

// "F0 CC 0D" -> {0xF0, 0xCC, 0x0D}
Bytes hexBytes(const std::string &text);
std::string hexText(const Bytes &bytes);
