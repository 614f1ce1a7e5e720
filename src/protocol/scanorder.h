#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace protocol {

// Every speed and parity the transceiver's interface can have, in the order
// the detection scan tries them; after the last comes the first.
inline constexpr std::array<const char *, 21> ScanSettings = {
    "1200,N,8,1",  "1200,O,8,1",  "1200,E,8,1",
    "2400,N,8,1",  "2400,O,8,1",  "2400,E,8,1",
    "4800,N,8,1",  "4800,O,8,1",  "4800,E,8,1",
    "9600,N,8,1",  "9600,O,8,1",  "9600,E,8,1",
    "19200,N,8,1", "19200,O,8,1", "19200,E,8,1",
    "38400,N,8,1", "38400,O,8,1", "38400,E,8,1",
    "57600,N,8,1", "57600,O,8,1", "57600,E,8,1",
};

// The position of `settings` among ScanSettings, the parity letter in either
// case (a link may read it back in lower case, a user type it so); none for
// settings the scan does not try.
std::optional<std::size_t> scanPosition(std::string_view settings);

} // namespace protocol
