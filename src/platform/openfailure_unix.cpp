#include "platform/openfailure.h"

#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The program named in a live UUCP-style lock file of the device, named as
// Qt and other serial programs name it ("LCK..ttyUSB0", "LCK..pts_3").
QString lockHolder(const QString &device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name = QStringLiteral("LCK..") + name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *dir : {"/var/lock", "/run/lock", "/tmp", "/var/tmp", "/var/spool/locks"}) {
        QLockFile lock(QString::fromLatin1(dir) + QLatin1Char('/') + name);
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

} // namespace

OpenFailure diagnoseOpenFailure(const QString &device, QSerialPort::SerialPortError,
                                const QString &errorText)
{
    OpenFailure failure;
    failure.device = device;
    if (device.isEmpty()) {
        failure.cause = OpenFailureCause::NoDevice;
        return failure;
    }
    failure.holder = lockHolder(device);
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
