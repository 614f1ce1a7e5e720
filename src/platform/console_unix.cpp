#include "platform/console.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;
// The handler writes a byte that is never read: once asked, the read end
// stays readable, and every wait watching it wakes.
int g_wakePipe[2] = {-1, -1};

extern "C" void onInterrupt(int)
{
    const int saved = errno;
    g_interrupted = 1;
    if (g_wakePipe[1] >= 0)
        static_cast<void>(::write(g_wakePipe[1], "!", 1));
    errno = saved;
}

} // namespace

void setUpConsole()
{
    if (g_wakePipe[0] < 0 && ::pipe2(g_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_wakePipe[0] = g_wakePipe[1] = -1;
    struct sigaction sa = {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    // Restarted system calls: the event loop carries on and sees the pipe.
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool interruptRequested()
{
    return g_interrupted != 0;
}

InterruptWake::InterruptWake(QEventLoop &loop)
    : m_loop(loop)
{
    if (g_wakePipe[0] < 0)
        return;
    auto *notifier = new QSocketNotifier(g_wakePipe[0], QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, &m_loop, &QEventLoop::quit);
    m_watch.reset(notifier);
}

InterruptWake::~InterruptWake() = default;

void writeText(ConsoleStream stream, const QString &text)
{
    std::FILE *file = stream == ConsoleStream::Output ? stdout : stderr;
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file);
    std::fflush(file);
}

bool stderrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

bool stderrTakesEscapes()
{
    return stderrIsTerminal();
}
