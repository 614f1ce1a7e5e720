#pragma once

#include <QString>

#include <optional>

// The ScanSettings entry after the one equal to `current` once upper-cased (the link may
// read the parity letter back in lower case); none when `current` is in no
// position.
std::optional<QString> nextScanSettings(const QString &current);
