#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal pair: the link opens the device (the slave side), the
// test plays the far end, raw and non-blocking, on the master side.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0)
            return;
        m_path = QString::fromLocal8Bit(::ttyname(m_slave));
        termios tio {};
        ::tcgetattr(m_master, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(m_master, TCSANOW, &tio);
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
    // The test's own descriptor of the device, to look at its options.
    int slave() const { return m_slave; }

    // Bytes from the far end that nobody has read off the device yet.
    int bytesQueuedForLink() const
    {
        int n = 0;
        return ::ioctl(m_slave, FIONREAD, &n) == 0 ? n : -1;
    }

    // The far end goes away.
    void hangUp()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    bool send(const QByteArray &bytes)
    {
        qsizetype done = 0;
        for (QDeadlineTimer deadline(2000); done < bytes.size() && !deadline.hasExpired();) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done == bytes.size();
    }

    // What the link sent, running the event loop so it can send; stops at
    // `count` bytes or when `ms` have passed.
    QByteArray receive(qsizetype count, int ms = 2000)
    {
        QByteArray got;
        for (QDeadlineTimer deadline(ms); got.size() < count && !deadline.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            char buf[512];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0)
                got.append(buf, n);
            else
                ::poll(nullptr, 0, 1);
        }
        return got;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};
