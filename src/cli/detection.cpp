#include "cli/detection.h"

#include "platform/portsettings.h"
#include "protocol/frames.h"
#include "protocol/scanorder.h"

#include <cmath>

QStringList detectionOrder(const std::optional<QString> &first)
{
    QStringList order;
    for (const char *settings : protocol::ScanSettings)
        order << QLatin1String(settings);
    if (const auto at = first ? protocol::scanPosition(first->toStdString()) : std::nullopt)
        order.move(qsizetype(*at), 0);
    return order;
}

int probeWindowMs(const QString &settings, int marginMs)
{
    const PortSettings line = parsePortSettings(settings).value_or(PortSettings{});
    const int bitsPerByte = 1 + line.dataBits + (line.parity == PortSettings::Parity::None ? 0 : 1)
                            + line.stopBits;
    const std::size_t bytes = protocol::ReadRequest().size() + protocol::kParameterFrameLength;
    const double lineMs = 1000.0 * double(bytes) * bitsPerByte / line.speed;
    return int(std::ceil(lineMs)) + marginMs;
}

std::optional<QString> detect(Line &line, const QStringList &order, int marginMs, const ProbeStep &step)
{
    for (qsizetype i = 0; i < order.size(); ++i) {
        const QString &settings = order.at(i);
        step(settings, i + 1);
        line.open(settings);
        const Answer answer = line.exchange(protocol::ReadRequest(), protocol::Operation::Handshake,
                                            probeWindowMs(settings, marginMs));
        if (answer.verdict != protocol::Verdict::Gathering)
            return settings;
    }
    line.close();
    return std::nullopt;
}

std::optional<QString> detect(Line &line, const QStringList &order, int marginMs, Progress &progress)
{
    const auto found = detect(line, order, marginMs, [&](const QString &settings, qsizetype at) {
        progress.show(QStringLiteral("探测 %1（%2/%3）").arg(settings).arg(at).arg(order.size()));
    });
    progress.clear();
    return found;
}
