#include "detect/scansettings.h"

#include "protocol/scansettings.h"

#include <QLatin1String>

using protocol::ScanSettings;

std::optional<QString> nextScanSettings(const QString &current)
{
    const QString wanted = current.toUpper();
    for (std::size_t i = 0; i < ScanSettings.size(); ++i) {
        if (wanted == QLatin1String(ScanSettings[i]))
            return QString::fromLatin1(ScanSettings[(i + 1) % ScanSettings.size()]);
    }
    return std::nullopt;
}
