#include "detect/nextsettings.h"

#include "protocol/scanorder.h"

#include <QLatin1String>

using protocol::ScanSettings;

std::optional<QString> nextScanSettings(const QString &current)
{
    const auto at = protocol::scanPosition(current.toStdString());
    if (!at)
        return std::nullopt;
    return QString::fromLatin1(ScanSettings[(*at + 1) % ScanSettings.size()]);
}
