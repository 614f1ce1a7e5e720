#include "platform/console.h"

#include <atomic>
#include <cstdio>

#include <io.h>
#include <windows.h>

namespace {

std::atomic<bool> g_interrupted{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    g_interrupted = true;
    return TRUE;
}

} // namespace

void setUpConsole()
{
    ::SetConsoleOutputCP(CP_UTF8);
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool interruptRequested()
{
    return g_interrupted;
}

bool stderrIsTerminal()
{
    return ::_isatty(::_fileno(stderr)) != 0;
}
