#pragma once

#include <QString>

#include <optional>

// One line configuration as a settings string gives it: "9600,N,8,1".
struct PortSettings {
    enum class Parity { None, Odd, Even };

    qint32 speed = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    int stopBits = 1;
};

// Reads "<speed>,<parity>,<databits>,<stopbits>" strictly: a positive
// decimal speed, parity N, O or E in either case, 5 to 8 data bits and 1 or
// 2 stop bits. Blanks, signs, extra or missing fields give none.
std::optional<PortSettings> parsePortSettings(const QString &text);
