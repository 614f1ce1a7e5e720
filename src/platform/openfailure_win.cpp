#include "platform/openfailure.h"

#include <windows.h>

namespace {

// The system's own words for an error, in the user's language.
QString systemMessage(DWORD error)
{
    wchar_t *buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    const QString text = length != 0 ? QString::fromWCharArray(buffer, int(length)).trimmed()
                                     : QStringLiteral("错误 %1").arg(error);
    ::LocalFree(buffer);
    return text;
}

} // namespace

OpenFailureCause causeOfOpenError(int systemError)
{
    struct Row {
        DWORD error;
        OpenFailureCause cause;
    };
    // Serial ports carry no permissions of their own: "access denied" is
    // Windows's answer for a port that another program has open.
    static constexpr Row kRows[] = {
        {ERROR_FILE_NOT_FOUND, OpenFailureCause::NoDevice},
        {ERROR_PATH_NOT_FOUND, OpenFailureCause::NoDevice},
        {ERROR_DEV_NOT_EXIST, OpenFailureCause::NoDevice},
        {ERROR_ACCESS_DENIED, OpenFailureCause::Busy},
        {ERROR_SHARING_VIOLATION, OpenFailureCause::Busy},
        {ERROR_BUSY, OpenFailureCause::Busy},
    };
    for (const Row &row : kRows) {
        if (row.error == DWORD(systemError))
            return row.cause;
    }
    return OpenFailureCause::Other;
}

QString permissionRemedy()
{
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
    // Opening it again gives the system's own reason; a port that opens now
    // failed for Qt's reasons.
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()),
                                        GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        failure.systemText = errorText;
        return failure;
    }
    const DWORD error = ::GetLastError();
    failure.cause = causeOfOpenError(int(error));
    failure.systemText = systemMessage(error);
    return failure;
}
