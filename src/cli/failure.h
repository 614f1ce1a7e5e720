#pragma once

#include <QString>

// What radioctl's exit status tells a script.
namespace exitcode {
inline constexpr int kDone = 0;
inline constexpr int kBadInput = 1;   // bad usage or input; nothing was sent
inline constexpr int kPortFailed = 2; // the port cannot be opened
inline constexpr int kNoAnswer = 3;   // no answer, no unit found, unit gone
inline constexpr int kRefused = 4;    // the unit refused the request
inline constexpr int kDiffers = 5;    // read-back differs from what was written
inline constexpr int kNotWritten = 6; // a write stopped after reading the unit
inline constexpr int kInterrupted = 130;
} // namespace exitcode

// Ends a command: the message goes to standard error, the code is the exit
// status. Thrown only outside event loops, so no Qt frame is unwound.
struct Failure {
    int code;
    QString message;
};
