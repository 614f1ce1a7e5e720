#pragma once

#include "protocol/frames.h"
#include "protocol/operation.h"

#include <cstdint>

namespace protocol {

// RxBuffer of the window: the bytes held of the reply under way.
struct ReceiveBuffer {
    Bytes RxBuffer; // RxBuffer[0] is byte 1
};

enum class Verdict {
    Gathering,        // wait for more bytes
    Dropped,          // not a reply start, or past 15 bytes: buffer emptied
    DeviceFound,      // handshake answered
    ParametersRead,
    ReadRejected,
    Written,
    WriteRejected,
    Activated,
    ActivateRejected,
};

inline constexpr std::int32_t kMaxHeld = 15;

// Appends one reception, applies the gate and judges the held bytes by the
// request in flight. Empties the buffer for every verdict that ends the
// exchange. `accepted` receives a copy of the frame when the verdict is
// ParametersRead, so it can be decoded later whatever the buffer holds then.
Verdict receive(ReceiveBuffer &buffer, const Bytes &input, Operation opTag,
                Bytes *accepted = nullptr);

// The judgement of the held bytes alone (byte 1 is 0xF0, at least 3 held).
Verdict judge(Operation opTag, const Bytes &held);

} // namespace protocol
