#pragma once

#include <QByteArray>
#include <QString>

#include <termios.h>

// The far end of a pseudo-terminal, scripted by a test as the transceiver.
class PtyPeer
{
public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer &) = delete;
    PtyPeer &operator=(const PtyPeer &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString devicePath() const { return m_path; }

    // Reads what the tool sent, waiting up to timeoutMs for the first byte
    // and then until the line has been quiet for quietMs.
    QByteArray read(int timeoutMs, int quietMs = 50);
    void write(const QByteArray &bytes);
    // The tool's side of the line as it set it up.
    termios lineSettings() const;

private:
    int m_master = -1;
    int m_slave = -1; // held so the tool's closes do not hang the line up
    QString m_path;
};
