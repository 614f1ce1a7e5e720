#pragma once

#include <QString>

#include <memory>

class QEventLoop;
class QObject;

// The console a command-line program runs in.

// Turns Ctrl-C (and a polite request to stop) into interruptRequested()
// instead of ending the program, so a command can finish the frame it is
// writing and close the port first; on Windows also makes standard error
// take ANSI escape sequences where the console can.
void setUpConsole();

// True once the user has asked the program to stop.
bool interruptRequested();

// While it lives, ends `loop` as soon as the user asks the program to stop,
// or at once when they already have, so a wait wakes for the request itself.
// Made and dropped in the thread that runs the loop.
class InterruptWake
{
public:
    explicit InterruptWake(QEventLoop &loop);
    ~InterruptWake();
    InterruptWake(const InterruptWake &) = delete;
    InterruptWake &operator=(const InterruptWake &) = delete;

private:
    QEventLoop &m_loop;
    std::unique_ptr<QObject> m_watch;
};

enum class ConsoleStream { Output, Error };

// Writes text where the stream goes, flushed at once: as UTF-8 to a file, a
// pipe or a Unix terminal; to a Windows console as UTF-16, so Chinese reads
// right whatever the console's code page.
void writeText(ConsoleStream stream, const QString &text);

// Whether standard error is a terminal, where a progress line can be
// rewritten in place.
bool stderrIsTerminal();

// Whether that terminal erases a line on ANSI's "\x1b[K": a Unix terminal
// does; a Windows console only from Windows 10 on, once asked to.
bool stderrTakesEscapes();
