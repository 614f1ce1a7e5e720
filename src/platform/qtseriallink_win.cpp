#include "platform/qtseriallink_p.h"

#include <QSerialPort>

#include <windows.h>

std::optional<ReceiveErrors> applyNativeLineOptions(QSerialPort &port)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(port.handle());
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return std::nullopt;

    DCB dcb;
    ZeroMemory(&dcb, sizeof(dcb));
    dcb.DCBlength = sizeof(dcb);
    if (!::GetCommState(handle, &dcb))
        return std::nullopt;

    // The driver puts ErrorChar in place of a byte received with a parity
    // error; fParity turns that checking on.
    dcb.fParity = TRUE;
    dcb.fErrorChar = TRUE;
    dcb.ErrorChar = '?';
    // Every byte value is data: no XON/XOFF, no NUL stripping, and a line
    // error must not stall reading until ClearCommError.
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(handle, &dcb))
        return std::nullopt;
    return ReceiveErrors::Replaced;
}

int reopenError(const QString &device)
{
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()),
                                        GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return int(::GetLastError());
    ::CloseHandle(handle);
    return 0;
}

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

// Windows keeps no lock files: an open port is simply refused.
QString lockHolder(const QString &)
{
    return {};
}
