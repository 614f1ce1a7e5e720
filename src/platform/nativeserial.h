#pragma once

#include <optional>

class QSerialPort;

// How the open port reports a byte received with a parity error.
enum class ReceiveErrors {
    Replaced, // the system itself delivers "?" in its place
    Marked,   // the system marks it; run the input through unescapeParityMarks
};

// Sets what QSerialPort leaves out on the open port: a damaged byte becomes
// "?", no software flow control, all eight bits kept. Qt rewrites the
// port's options whenever it applies a setting, so call this again after
// each one. None if the system refused.
std::optional<ReceiveErrors> applyNativeLineOptions(QSerialPort &port);
