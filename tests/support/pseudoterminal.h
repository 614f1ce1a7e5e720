#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal pair: the tool opens the device (the slave side), the
// test plays the far end, raw and non-blocking, on the master side. The test
// holds a slave descriptor too, so the tool's closes never hang the line up.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            return;
        m_path = QString::fromLocal8Bit(::ttyname(m_slave));
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal()
    {
        hangUp();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool isValid() const { return m_master >= 0 && !m_path.isEmpty(); }
    QString path() const { return m_path; }
    // The line as the tool's side has set it up.
    termios line() const
    {
        termios tio{};
        ::tcgetattr(m_slave, &tio);
        return tio;
    }

    // Bytes from the far end not yet read by the tool.
    int pending() const
    {
        int n = 0;
        return ::ioctl(m_slave, FIONREAD, &n) == 0 ? n : -1;
    }
    // TIOCM_DTR, TIOCM_RTS as the tool has set them (needs the pty shim).
    int modemLines() const
    {
        int bits = 0;
        return ::ioctl(m_slave, TIOCMGET, &bits) == 0 ? bits : -1;
    }

    // The far end goes away.
    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    void send(const QByteArray &bytes)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QTest::qWait(1);
        }
    }

    // What the tool sent, running its event loop meanwhile: up to `count`
    // bytes, waiting at most `ms`.
    QByteArray receive(qsizetype count, int ms = 3000)
    {
        QByteArray got;
        for (QDeadlineTimer deadline(ms); got.size() < count && !deadline.hasExpired();) {
            char buf[512];
            const ssize_t n = ::read(m_master, buf, size_t(std::min<qsizetype>(sizeof buf, count - got.size())));
            if (n > 0)
                got.append(buf, n);
            else
                QTest::qWait(1);
        }
        return got;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
