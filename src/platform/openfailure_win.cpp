#include "platform/openfailure.h"

OpenFailure diagnoseOpenFailure(const QString &device, QSerialPort::SerialPortError error,
                                const QString &errorText)
{
    OpenFailure failure;
    failure.device = device;
    failure.systemText = errorText;
    // Windows answers "access denied" for a port another program has open;
    // serial ports carry no permissions of their own there.
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        failure.cause = OpenFailureCause::NoDevice;
        break;
    case QSerialPort::PermissionError:
        failure.cause = OpenFailureCause::Busy;
        break;
    default:
        failure.cause = device.isEmpty() ? OpenFailureCause::NoDevice : OpenFailureCause::Other;
        break;
    }
    return failure;
}
