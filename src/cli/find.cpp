#include "cli/commands.h"

#include "cli/detection.h"
#include "cli/failure.h"
#include "cli/line.h"
#include "cli/output.h"
#include "cli/portlist.h"
#include "cli/state.h"
#include "platform/console.h"
#include "words/texts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QThread>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// What became of one port.
struct PortResult {
    PortToProbe port;
    std::optional<QString> settings; // where a unit answered
    std::optional<Failure> failure;  // why the port was not (fully) probed
};

// All ports' probes on one progress line: the ports still probing, and how
// far the one furthest behind has come.
class SharedProgress
{
public:
    SharedProgress(const QList<PortToProbe> &ports, qsizetype of)
        : m_progress(stderrIsTerminal()), m_of(of)
    {
        for (const PortToProbe &port : ports)
            m_step.push_back({port.name, 0});
    }

    void step(const QString &port, qsizetype at)
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        for (auto &[name, step] : m_step) {
            if (name == port)
                step = at;
        }
        show();
    }
    void done(const QString &port)
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_step.erase(std::remove_if(m_step.begin(), m_step.end(), [&](const auto &p) { return p.first == port; }),
                     m_step.end());
        if (m_step.empty() || interruptRequested())
            m_progress.clear();
        else
            show();
    }

private:
    void show()
    {
        qsizetype behind = m_of;
        QStringList names;
        for (const auto &[name, at] : m_step) {
            behind = std::min(behind, at);
            names << name;
        }
        const QString text = QStringLiteral("探测 %1（%2/%3）")
                                 .arg(names.join(QLatin1Char(' ')))
                                 .arg(behind)
                                 .arg(m_of);
        if (behind > 0 && text != m_shown)
            m_progress.show(text);
        m_shown = text;
    }

    std::mutex m_lock;
    Progress m_progress;
    qsizetype m_of;
    std::vector<std::pair<QString, qsizetype>> m_step; // ports still probing, in COM order
    QString m_shown;
};

// Detects on one port as `detect` does, in a thread of its own, so that a
// port's wait holds up no other; every Failure stays in its result.
void probe(PortResult &result, int marginMs, SharedProgress &progress)
{
    const QStringList order = detectionOrder(rememberedSettings(result.port.name));
    Trace quiet(false);
    try {
        Line line(result.port.name, result.port.device, quiet);
        result.settings = detect(line, order, marginMs, [&](const QString &, qsizetype at) {
            progress.step(result.port.name, at);
        });
    } catch (const Failure &failure) {
        result.failure = failure;
    }
    progress.done(result.port.name);
}

// The failure's words without the port's name, which the JSON gives apart.
QString reason(const PortResult &r)
{
    QString text = r.failure->message;
    const QString prefix = r.port.name + QStringLiteral("：");
    return text.startsWith(prefix) ? text.mid(prefix.size()) : text;
}

QJsonObject entry(const PortResult &r)
{
    QJsonObject object{{QStringLiteral("port"), r.port.name}, {QStringLiteral("device"), r.port.device},
                       {QStringLiteral("settings"), r.settings ? QJsonValue(*r.settings) : QJsonValue::Null}};
    if (r.failure)
        object.insert(QStringLiteral("reason"), reason(r));
    return object;
}

} // namespace

int findUnits(const Invocation &run)
{
    const QList<PortToProbe> ports = portsToProbe(run.all);
    if (ports.isEmpty())
        throw Failure{exitcode::kNoAnswer, run.all ? QStringLiteral("没有可探测的串口")
                                                   : QStringLiteral("没有可探测的串口（--all 连同主板上的串口）")};
    std::vector<PortResult> results;
    for (const PortToProbe &port : ports)
        results.push_back({port, std::nullopt, std::nullopt});
    SharedProgress progress(ports, detectionOrder(std::nullopt).size());
    std::vector<std::unique_ptr<QThread>> threads;
    for (PortResult &result : results) {
        threads.emplace_back(QThread::create(probe, std::ref(result), run.probeMarginMs, std::ref(progress)));
        threads.back()->start();
    }
    for (const auto &thread : threads)
        thread->wait();
    if (interruptRequested())
        throw Failure{exitcode::kInterrupted, QStringLiteral("已中断")};

    QMap<QString, QString> found;
    QJsonArray json;
    for (const PortResult &r : results) {
        if (r.failure)
            printMessage(r.failure->message);
        if (r.settings) {
            found.insert(r.port.name, *r.settings);
            if (!run.json)
                printData(QStringLiteral("%1  %2  %3").arg(r.port.name, r.port.device, *r.settings));
        }
        if (r.settings || r.failure)
            json.append(entry(r));
    }
    rememberSettings(found);
    if (run.json)
        printData(QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)));
    if (found.isEmpty())
        throw Failure{exitcode::kNoAnswer, QString::fromUtf8(words::outcomes::kNoDevice)};
    return exitcode::kDone;
}
