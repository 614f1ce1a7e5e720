#include "platform/openfailure.h"

#include "platform/nativeserial.h"

OpenFailure diagnoseOpenFailure(const QString &device, const QString &errorText)
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
    // A device that opens now failed for Qt's reasons.
    const int error = reopenError(device);
    if (error == 0) {
        failure.systemText = errorText;
        return failure;
    }
    failure.cause = causeOfOpenError(error);
    failure.systemText = qt_error_string(error).trimmed();
    return failure;
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
        return prefix + QStringLiteral("无权打开 ") + failure.device + permissionRemedy();
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
