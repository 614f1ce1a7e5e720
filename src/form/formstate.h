#pragma once

#include "protocol/replyjudge.h"

#include <QString>

#include <cstdint>

// The window's shared variables, in the order the handlers were written
// against. Every handler reads and writes them through FormContext.
struct FormState {
    bool SendReady = false;
    bool ReplyPending = false;
    protocol::ReceiveBuffer rx; // RxBuffer
    protocol::Operation OpTag = protocol::Operation::None;
    QString OpName;
    bool PortsReady = false;
    QString LastText1 = QStringLiteral("100000");
    QString LastText2 = QStringLiteral("100000");
    std::int32_t ScanTicks = 0;
};
