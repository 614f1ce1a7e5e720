#include "platform/nativeserial.h"

#include <QSerialPort>

#include <termios.h>

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
