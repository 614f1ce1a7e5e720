#include "platform/openfailure.h"

#include <cerrno>

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

QString describeOpenFailure(const QString &portName, const OpenFailure &failure)
{
    // A port named by its device path is named once: "/x 不存在", not "/x：/x 不存在".
    const QString prefix = portName == failure.device ? QString() : portName + QStringLiteral("：");
    if (failure.device.isEmpty())
        return prefix + QStringLiteral("没有对应的串口设备");
    switch (failure.cause) {
    case OpenFailureCause::NoDevice:
        return prefix + failure.device + QStringLiteral(" 不存在（设备未连接或已拔出）");
    case OpenFailureCause::PermissionDenied:
        return prefix + QStringLiteral("无权打开 ") + failure.device
               + QStringLiteral("。请把用户加入 dialout 组（sudo adduser $USER dialout），然后重新登录");
    case OpenFailureCause::Busy:
        return prefix + failure.device + QStringLiteral(" 正被其他程序占用")
               + (failure.holder.isEmpty() ? QString()
                                           : QStringLiteral("（%1）").arg(failure.holder));
    case OpenFailureCause::Other:
        break;
    }
    return prefix + QStringLiteral("无法打开 ") + failure.device + QStringLiteral("：")
           + failure.systemText;
}
