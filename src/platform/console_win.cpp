#include "platform/console.h"

#include <QEventLoop>
#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include <windows.h>

namespace {

std::atomic<bool> g_interrupted{false};
bool g_stderrTakesEscapes = false;
// The loops waiting now, each woken in its own thread by a posted quit.
std::mutex g_waitingLock;
std::vector<QEventLoop *> g_waiting;

void postQuit(QEventLoop *loop)
{
    QMetaObject::invokeMethod(loop, [loop] { loop->quit(); }, Qt::QueuedConnection);
}

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    const std::lock_guard<std::mutex> hold(g_waitingLock);
    g_interrupted = true;
    std::for_each(g_waiting.begin(), g_waiting.end(), postQuit);
    return TRUE;
}

HANDLE handleOf(ConsoleStream stream)
{
    return ::GetStdHandle(stream == ConsoleStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// GetConsoleMode fails for a file, a pipe and NUL, which _isatty would
// take for a terminal.
bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && ::GetConsoleMode(handle, &mode);
}

} // namespace

void setUpConsole()
{
    // The console's code page is left alone: it outlives the program in the
    // user's cmd.exe, and console text goes out as UTF-16 anyway.
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    const HANDLE err = handleOf(ConsoleStream::Error);
    DWORD mode = 0;
    g_stderrTakesEscapes = isConsole(err) && ::GetConsoleMode(err, &mode)
                           && ::SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

bool interruptRequested()
{
    return g_interrupted;
}

InterruptWake::InterruptWake(QEventLoop &loop)
    : m_loop(loop)
{
    const std::lock_guard<std::mutex> hold(g_waitingLock);
    g_waiting.push_back(&m_loop);
    if (g_interrupted)
        postQuit(&m_loop);
}

InterruptWake::~InterruptWake()
{
    // A quit already posted dies with the loop, which outlives this.
    const std::lock_guard<std::mutex> hold(g_waitingLock);
    g_waiting.erase(std::find(g_waiting.begin(), g_waiting.end(), &m_loop));
}

void writeText(ConsoleStream stream, const QString &text)
{
    const HANDLE handle = handleOf(stream);
    if (isConsole(handle)) {
        const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
        DWORD left = DWORD(text.size());
        DWORD written = 0;
        while (left > 0 && ::WriteConsoleW(handle, wide, left, &written, nullptr) && written > 0) {
            wide += written;
            left -= written;
        }
        return;
    }
    // A file or pipe gets the bytes Linux writes: UTF-8, lines ending in \n.
    const QByteArray bytes = text.toUtf8();
    const char *data = bytes.constData();
    DWORD left = DWORD(bytes.size());
    DWORD written = 0;
    while (left > 0 && ::WriteFile(handle, data, left, &written, nullptr) && written > 0) {
        data += written;
        left -= written;
    }
}

bool stderrIsTerminal()
{
    return isConsole(handleOf(ConsoleStream::Error));
}

bool stderrTakesEscapes()
{
    return g_stderrTakesEscapes;
}
