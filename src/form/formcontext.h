#pragma once

#include "form/controls.h"
#include "form/formstate.h"
#include "platform/messagebox.h"
#include "platform/seriallink.h"
#include "platform/timer.h"
#include "protocol/frames.h"

// What a handler may touch: the shared variables and the window's seams.
struct FormContext {
    FormState &state;
    Controls &controls;
    SerialLink &MSComm1;
    Timer &Timer1;
    Timer &Timer2;
    MessageBox &messages;
};

// Queues one request frame on the link, whole.
[[nodiscard]] inline CommError writeFrame(SerialLink &link, const protocol::Bytes &frame)
{
    return link.output(QByteArray(reinterpret_cast<const char *>(frame.data()),
                                  static_cast<qsizetype>(frame.size())));
}
