#include "ptyport.h"

#include <fcntl.h>
#include <limits.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string errorText(const std::string &what)
{
    return what + ": " + std::strerror(errno);
}

// Creates every missing folder on the way, like mkdir -p.
bool makeFolders(const std::string &dir)
{
    if (dir.empty())
        return true;
    for (size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            const std::string part = dir.substr(0, pos);
            if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
                return false;
        }
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

PtyPort::~PtyPort()
{
    if (!m_linkPath.empty()) {
        // Leave a link alone that another simulator has taken over since.
        char target[PATH_MAX];
        const ssize_t n = ::readlink(m_linkPath.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, static_cast<size_t>(n)) == m_slavePath)
            ::unlink(m_linkPath.c_str());
    }
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

std::optional<std::string> PtyPort::open(const std::string &linkPath)
{
    // Raw from the start: the default line discipline would echo the
    // device's replies back to it before the tool has set its end up.
    termios raw{};
    cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&raw, B9600);
    cfsetospeed(&raw, B9600);
    char name[PATH_MAX] = {};
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0)
        return errorText("openpty");
    m_slavePath = name;
    const int flags = ::fcntl(m_master, F_GETFL);
    if (flags < 0 || ::fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0)
        return errorText("fcntl");
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);

    // Watched only after our own descriptor exists, so only others count.
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        return errorText("inotify_init1");
    if (::inotify_add_watch(m_inotify, name, IN_OPEN | IN_CLOSE) < 0)
        return errorText("inotify_add_watch " + m_slavePath);

    if (!makeFolders(folderOf(linkPath)))
        return errorText("mkdir " + folderOf(linkPath));
    // Replace an old link in one step, so a reader never finds none.
    const std::string temp = linkPath + ".new." + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(name, temp.c_str()) != 0)
        return errorText("symlink " + temp);
    if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
        const std::string err = errorText("rename " + linkPath);
        ::unlink(temp.c_str());
        return err;
    }
    m_linkPath = linkPath;
    return std::nullopt;
}

std::optional<termios> PtyPort::toolTermios() const
{
    termios t{};
    if (::tcgetattr(m_master, &t) != 0)
        return std::nullopt;
    return t;
}

std::vector<PtyPort::Activity> PtyPort::readActivity()
{
    std::vector<Activity> a;
    alignas(inotify_event) char buf[4096];
    for (;;) {
        const ssize_t n = ::read(m_inotify, buf, sizeof buf);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event ev;
            std::memcpy(&ev, buf + at, sizeof ev);
            if (ev.mask & IN_OPEN)
                a.push_back(Activity::Opened);
            if (ev.mask & IN_CLOSE)
                a.push_back(Activity::Closed);
            at += static_cast<ssize_t>(sizeof(inotify_event) + ev.len);
        }
    }
    return a;
}

void PtyPort::resetToolEnd()
{
    ::tcflush(m_slave, TCIFLUSH);
    ::ioctl(m_slave, TIOCNXCL);
}
