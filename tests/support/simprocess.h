#pragma once

#include <QProcess>
#include <QStringList>

// radio-sim as a child process of a test, started without LD_PRELOAD so that
// the pty shim acts only for the tool's side. Its log lines arrive while the
// test runs the event loop.
class SimProcess
{
public:
    ~SimProcess();

    // Starts it with its link in portsDir and waits for its "ready" line.
    bool start(const QStringList &args, const QString &portsDir);
    // Log lines containing `text`, from line `from` on.
    QStringList linesWith(const QString &text, qsizetype from = 0);
    qsizetype lineCount();
    // The settings each probe or read request went out at, from line `from`
    // on: "4800,O,8,1" of "1.234 tool>dev F0 CC 0D [4800,O,8,1]".
    QStringList readsAt(qsizetype from = 0);
    // Waits, running the event loop, for a line containing `text` from line `from` on.
    bool waitForLine(const QString &text, qsizetype from = 0, int ms = 5000);
    void kill();

private:
    void readLines();

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_partial;
};
