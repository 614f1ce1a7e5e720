#include "toolend.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

using Clock = std::chrono::steady_clock;

speed_t speedCode(int speed)
{
    switch (speed) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    default: return B0;
    }
}

} // namespace

ToolEnd::~ToolEnd()
{
    close();
}

bool ToolEnd::open(const std::string &path, const std::string &settings)
{
    close();
    int speed = 0;
    char parity = 0;
    if (std::sscanf(settings.c_str(), "%d,%c,8,1", &speed, &parity) != 2 || speedCode(speed) == B0)
        return false;
    m_fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return false;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS);
    t.c_cflag |= CS8 | CREAD | CLOCAL;
    if (parity == 'E' || parity == 'O')
        t.c_cflag |= PARENB;
    if (parity == 'O')
        t.c_cflag |= PARODD;
    cfsetispeed(&t, speedCode(speed));
    cfsetospeed(&t, speedCode(speed));
    return ::tcsetattr(m_fd, TCSANOW, &t) == 0;
}

void ToolEnd::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool ToolEnd::send(const Bytes &bytes)
{
    return m_fd >= 0 && ::write(m_fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

Bytes ToolEnd::receive(size_t count, Ms timeout)
{
    Bytes got;
    const auto end = Clock::now() + timeout;
    while (m_fd >= 0 && got.size() < count) {
        const auto left = std::chrono::duration_cast<Ms>(end - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        std::uint8_t buf[256];
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0)
            got.insert(got.end(), buf, buf + n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
    }
    return got;
}

Bytes ToolEnd::receiveFor(Ms window)
{
    return receive(static_cast<size_t>(-1), window);
}

Bytes hexBytes(const std::string &text)
{
    Bytes out;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        out.push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), nullptr, 16)));
    return out;
}

std::string hexText(const Bytes &bytes)
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
