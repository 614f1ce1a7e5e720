#include "platform/console.h"

#include <csignal>
#include <cstdio>

#include <signal.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void onInterrupt(int)
{
    g_interrupted = 1;
}

} // namespace

void setUpConsole()
{
    struct sigaction sa = {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    // Restarted system calls: Qt's event loop carries on and the flag is
    // seen at its next poll.
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
}

bool interruptRequested()
{
    return g_interrupted != 0;
}

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
