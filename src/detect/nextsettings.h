#pragma once

#include <QString>

#include <optional>

// The ScanSettings entry after `current` (protocol::scanPosition); none when
// `current` is in no position.
std::optional<QString> nextScanSettings(const QString &current);
