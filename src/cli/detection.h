#pragma once

#include "cli/line.h"
#include "cli/output.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a margin of 40 ms adds to each probe's line time: enough for a unit
// that turns a request round within a few tens of milliseconds.
inline constexpr int kDefaultProbeMarginMs = 40;

// The window's scan settings, `first` (when it is one of them) ahead of the
// others, which keep the scan's order.
QStringList detectionOrder(const std::optional<QString> &first);

// How long a probe at `settings` waits: the request and a parameter reply
// on the line at that speed and framing, plus `marginMs`.
int probeWindowMs(const QString &settings, int marginMs);

// Told before each probe: its settings and its place in the order, from 1.
using ProbeStep = std::function<void(const QString &settings, qsizetype at)>;

// Probes at each of `order` in turn with the window's handshake until the
// unit answers. Returns those settings with the line left open there, or
// none when nothing answered.
std::optional<QString> detect(Line &line, const QStringList &order, int marginMs, const ProbeStep &step);
// The same, showing where it stands.
std::optional<QString> detect(Line &line, const QStringList &order, int marginMs, Progress &progress);
