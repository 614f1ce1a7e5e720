#pragma once

#include <QString>

#include <optional>

// A serial port as a user names it on the command line.
struct NamedPort {
    QString name;      // for messages and remembered settings: "COM3", or the device
    int comNumber = 0; // n of the port map's COMn (1 to kComPortCount), else 0
    QString device;    // the device to open when comNumber is 0
};

// What a user typed after --port. "COM3" in either case is the port map's
// COM3 on every system; other names follow the system's rules
// (parseSystemPortName). None when the text names no port.
std::optional<NamedPort> parsePortName(const QString &text);

// The number of "COMn" in either case (leading zeros allowed), none for
// anything else; it may lie outside the port map.
std::optional<int> comPortNumber(const QString &text);

// The system's own port names beyond the port map's COM1 to COM16.
std::optional<NamedPort> parseSystemPortName(const QString &text);

// What --port accepts, in the words that follow "应为": "COM1 至 COM16、…".
QString portNameHint();
