// Any bytes as last-settings.json: the next detection still tries every scan
// setting once, and remembering a port keeps what the file holds for others.

#include "fuzzcheck.h"
#include "cli/detection.h"
#include "cli/state.h"
#include "protocol/scanorder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir folder; // in TMPDIR, which fuzz.sh empties afterwards
    static const bool ready = qputenv("XDG_STATE_HOME", folder.path().toUtf8()) && QDir(folder.path()).mkpath(QStringLiteral("radio-setup"));
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(folder.path() + QStringLiteral("/radio-setup/last-settings.json"));
    FUZZ_CHECK(ready && file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    QStringList order = detectionOrder(rememberedSettings(QStringLiteral("COM1")));
    QStringList all(protocol::ScanSettings.begin(), protocol::ScanSettings.end());
    std::sort(order.begin(), order.end());
    std::sort(all.begin(), all.end());
    FUZZ_CHECK(order == all);

    rememberSettings(QStringLiteral("COM1"), QStringLiteral("9600,E,8,1"));
    QJsonObject expected = QJsonDocument::fromJson(content).object();
    expected.insert(QStringLiteral("COM1"), QStringLiteral("9600,E,8,1"));
    FUZZ_CHECK(file.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(file.readAll()).object() == expected);
    return 0;
}
