#include "protocol/scanorder.h"

namespace protocol {

std::optional<std::size_t> scanPosition(std::string_view settings)
{
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (std::size_t i = 0; i < ScanSettings.size(); ++i) {
        const std::string_view entry = ScanSettings[i];
        if (entry.size() != settings.size())
            continue;
        std::size_t same = 0;
        while (same < entry.size() && upper(settings[same]) == entry[same])
            ++same;
        if (same == entry.size())
            return i;
    }
    return std::nullopt;
}

} // namespace protocol
