#include "transceiver.h"

#include <array>

namespace {

constexpr std::uint8_t kParameters = 0xAA;
constexpr std::uint8_t kWriteAck = 0xEE;
constexpr std::uint8_t kActivateAck = 0xBB;
// Neither 0D nor the accepted 3F: a receiver must reject it.
constexpr std::uint8_t kBadAckEnd = 0x0A;

// Interface rate: bits 1-0 low field, bit 6 high flag.
constexpr std::uint8_t kRateLowMask = 0x03;
constexpr std::uint8_t kRateHighFlag = 0x40;
constexpr std::uint8_t kChannel9600 = 0x0C;
constexpr int kParityShift = 4;

struct RateCode {
    int speed;
    std::uint8_t low;
    bool high;
};

constexpr std::array<RateCode, 7> kRates{{
        {1200, 0, false},
        {2400, 1, false},
        {4800, 2, false},
        {9600, 3, false},
        {19200, 0, true},
        {38400, 1, true},
        {57600, 2, true},
}};

struct ParityCode {
    char letter;
    std::uint8_t field; // bits 5-4
};

// Even is 1 and odd is 2 on the wire.
constexpr std::array<ParityCode, 3> kParities{{{'N', 0}, {'E', 1}, {'O', 2}}};

void putLe32(Bytes &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

std::uint32_t getLe32(const Bytes &b, size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

} // namespace

Transceiver::Transceiver(const LineSettings &interface, const StoredParameters &stored)
    : m_interface(interface), m_stored(stored)
{
}

Bytes Transceiver::answer(const Request &request, const Faults &faults)
{
    const std::uint8_t ackEnd = faults.badAck ? kBadAckEnd : kEnd;
    switch (request.kind) {
    case RequestKind::Read: {
        Bytes out{kStart, kParameters};
        putLe32(out, m_stored.tx);
        putLe32(out, m_stored.rx);
        out.push_back(m_stored.settingsByte);
        out.push_back(kEnd);
        return out;
    }
    case RequestKind::Write:
        if (request.bytes.size() == 12 && !faults.ignoreWrites) {
            m_stored.tx = getLe32(request.bytes, 2);
            m_stored.rx = getLe32(request.bytes, 6);
            m_stored.settingsByte = request.bytes[10];
            switch (faults.misstore) {
            case Faults::Field::Tx:
                m_stored.tx ^= 1u;
                break;
            case Faults::Field::Rx:
                m_stored.rx ^= 1u;
                break;
            case Faults::Field::Byte:
                m_stored.settingsByte ^= 1u;
                break;
            case Faults::Field::None:
                break;
            }
        }
        return {kStart, kWriteAck, ackEnd};
    case RequestKind::Activate:
        return {kStart, kActivateAck, ackEnd};
    }
    return {};
}

LineSettings Transceiver::settingsAfterActivation() const
{
    const std::uint8_t b = m_stored.settingsByte;
    const std::uint8_t low = b & kRateLowMask;
    const bool high = (b & kRateHighFlag) != 0;
    LineSettings s = m_interface;
    // Low field 3 is 9600 whatever the flag: there is no fourth high rate.
    s.speed = 9600;
    for (const RateCode &r : kRates) {
        if (r.low == low && r.high == high)
            s.speed = r.speed;
    }
    const std::uint8_t field = (b >> kParityShift) & 0x03;
    for (const ParityCode &p : kParities) {
        if (p.field == field)
            s.parity = p.letter;
    }
    return s;
}

std::uint8_t Transceiver::defaultSettingsByte(const LineSettings &interface)
{
    std::uint8_t b = kChannel9600;
    for (const RateCode &r : kRates) {
        if (r.speed == interface.speed)
            b |= static_cast<std::uint8_t>(r.low | (r.high ? kRateHighFlag : 0));
    }
    for (const ParityCode &p : kParities) {
        if (p.letter == interface.parity)
            b |= static_cast<std::uint8_t>(p.field << kParityShift);
    }
    return b;
}
