#include "platform/qtseriallink_p.h"

#include <QFile>
#include <QLockFile>
#include <QSerialPort>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

std::optional<ReceiveErrors> applyNativeLineOptions(QSerialPort &port)
{
    const int fd = port.handle();
    if (fd < 0)
        return std::nullopt;

    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return std::nullopt;

    // PARMRK with INPCK marks a damaged byte as FF 00 x instead of dropping
    // it (IGNPAR) or turning it into a bare 00, and doubles a real FF so the
    // two can be told apart.
    tio.c_iflag |= PARMRK | INPCK;
    tio.c_iflag &= ~tcflag_t(IGNPAR | ISTRIP | IXON | IXOFF | IXANY);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return std::nullopt;

    // tcsetattr succeeds if any one change took; without PARMRK in force the
    // unescaping would eat real FF 00 pairs, so make sure it is.
    termios check {};
    if (::tcgetattr(fd, &check) != 0)
        return std::nullopt;
    const tcflag_t wanted = PARMRK | INPCK;
    const tcflag_t unwanted = IGNPAR | ISTRIP | IXON | IXOFF;
    if ((check.c_iflag & wanted) != wanted || (check.c_iflag & unwanted) != 0)
        return std::nullopt;
    return ReceiveErrors::Marked;
}

int reopenError(const QString &device)
{
    const int fd = ::open(QFile::encodeName(device).constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

OpenFailureCause causeOfOpenError(int systemError)
{
    struct Row {
        int error;
        OpenFailureCause cause;
    };
    // EAGAIN is a lock held with lockf/flock, EBUSY an exclusive open
    // (TIOCEXCL) by another program.
    static constexpr Row kRows[] = {
        {ENOENT, OpenFailureCause::NoDevice},
        {ENODEV, OpenFailureCause::NoDevice},
        {ENXIO, OpenFailureCause::NoDevice},
        {EACCES, OpenFailureCause::PermissionDenied},
        {EPERM, OpenFailureCause::PermissionDenied},
        {EROFS, OpenFailureCause::PermissionDenied},
        {EBUSY, OpenFailureCause::Busy},
        {EAGAIN, OpenFailureCause::Busy},
    };
    for (const Row &row : kRows) {
        if (row.error == systemError)
            return row.cause;
    }
    return OpenFailureCause::Other;
}

QString permissionRemedy()
{
    return QStringLiteral("。请把用户加入 dialout 组（sudo adduser $USER dialout），然后重新登录");
}

QString lockHolder(const QString &device)
{
    // Where Qt and other serial programs leave their lock files.
    return lockHolder(device, {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"), QStringLiteral("/tmp"),
                               QStringLiteral("/var/tmp"), QStringLiteral("/var/spool/locks")});
}

QString lockHolder(const QString &device, const QStringList &folders)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name = QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const QString &folder : folders) {
        QLockFile lock(folder + QLatin1Char('/') + name);
        qint64 pid = 0;
        QString hostname;
        QString program;
        if (!lock.getLockInfo(&pid, &hostname, &program) || pid <= 0)
            continue;
        // A lock left behind by a program that has ended holds nothing.
        if (::kill(pid_t(pid), 0) != 0 && errno != EPERM)
            continue;
        return QStringLiteral("%1，进程 %2").arg(program.isEmpty() ? QStringLiteral("?") : program).arg(pid);
    }
    return {};
}
