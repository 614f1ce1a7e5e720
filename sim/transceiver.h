#pragma once

#include "linesettings.h"

#include <cstdint>
#include <optional>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Every frame, either way, starts and ends with these.
inline constexpr std::uint8_t kStart = 0xF0;
inline constexpr std::uint8_t kEnd = 0x0D;

// What the device keeps between power cycles.
struct StoredParameters {
    std::uint32_t tx = 433920000;
    std::uint32_t rx = 434920000;
    std::uint8_t settingsByte = 0x0E;
};

enum class RequestKind { Read, Write, Activate };

// Ways the device misbehaves on purpose, so the tool's error paths can be
// driven.
struct Faults {
    bool badAck = false;       // wrong third byte (0A) on acknowledgements
    bool ignoreWrites = false; // acknowledge a write but keep the old values
    // One field of a write stored with its lowest bit flipped.
    enum class Field { None, Tx, Rx, Byte } misstore = Field::None;
};

struct Request {
    RequestKind kind;
    Bytes bytes; // the whole frame as received
};

// The device's side of the protocol, built from its own byte tables so that
// a mistake shared with the tool's encoders cannot hide.
class Transceiver
{
public:
    Transceiver(const LineSettings &interface, const StoredParameters &stored);

    const LineSettings &interfaceSettings() const { return m_interface; }
    const StoredParameters &stored() const { return m_stored; }

    // The reply to a request; a write stores its parameters (as the faults
    // allow) before answering.
    Bytes answer(const Request &request, const Faults &faults);

    // The interface settings that the stored settings byte selects; a parity
    // field of 3 means nothing, so the current parity stays.
    LineSettings settingsAfterActivation() const;
    void switchInterface(const LineSettings &s) { m_interface = s; }

    // A settings byte with this interface rate and parity, channel rate 9600.
    static std::uint8_t defaultSettingsByte(const LineSettings &interface);

private:
    LineSettings m_interface;
    StoredParameters m_stored;
};
