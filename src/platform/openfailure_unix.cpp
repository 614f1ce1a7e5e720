#include "platform/openfailure_unix.h"

#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Where Qt and other serial programs leave their lock files.
QStringList systemLockFolders()
{
    return {QStringLiteral("/var/lock"), QStringLiteral("/run/lock"), QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"), QStringLiteral("/var/spool/locks")};
}

} // namespace

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

OpenFailure diagnoseOpenFailure(const QString &device, QSerialPort::SerialPortError,
                                const QString &errorText)
{
    OpenFailure failure;
    failure.device = device;
    if (device.isEmpty()) {
        failure.cause = OpenFailureCause::NoDevice;
        return failure;
    }
    failure.holder = lockHolder(device, systemLockFolders());
    if (!failure.holder.isEmpty()) {
        failure.cause = OpenFailureCause::Busy;
        return failure;
    }
    // Opening it again, without taking the line over, gives the system's
    // own reason; a device that opens now failed for Qt's reasons.
    const int fd = ::open(QFile::encodeName(device).constData(),
                          O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        failure.systemText = errorText;
        return failure;
    }
    const int error = errno;
    failure.cause = causeOfOpenError(error);
    failure.systemText = QString::fromLocal8Bit(std::strerror(error));
    return failure;
}
