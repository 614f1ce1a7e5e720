#include "platform/nativeserial.h"

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
