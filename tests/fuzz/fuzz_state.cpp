// Any bytes as last-settings.json, the settings remembered per port: the
// next detection still tries every scan setting once, and remembering a
// port keeps what the file holds for the others.

#include "fuzzcheck.h"
#include "cli/detection.h"
#include "cli/state.h"
#include "protocol/scansettings.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>

namespace {

QTemporaryDir *folder;

QString fileName()
{
    return folder->path() + QStringLiteral("/radio-setup/last-settings.json");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Memory, where the file's sync costs nothing, when the system has it.
    const QString shm = QStringLiteral("/dev/shm");
    folder = QDir(shm).exists() ? new QTemporaryDir(shm + QStringLiteral("/fuzz_state-XXXXXX")) : new QTemporaryDir;
    qputenv("XDG_STATE_HOME", folder->path().toUtf8());
    QDir(folder->path()).mkpath(QStringLiteral("radio-setup"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(fileName());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size());
    file.close();

    QStringList order = detectionOrder(rememberedSettings(QStringLiteral("COM1")));
    QStringList all;
    for (const char *settings : protocol::ScanSettings)
        all << QLatin1String(settings);
    std::sort(order.begin(), order.end());
    std::sort(all.begin(), all.end());
    FUZZ_CHECK(order == all);

    rememberSettings(QStringLiteral("COM1"), QStringLiteral("9600,E,8,1"));
    FUZZ_CHECK(rememberedSettings(QStringLiteral("COM1")) == QStringLiteral("9600,E,8,1"));
    QJsonObject before = QJsonDocument::fromJson(content).object();
    before.insert(QStringLiteral("COM1"), QStringLiteral("9600,E,8,1"));
    FUZZ_CHECK(file.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(file.readAll()).object() == before);
    return 0;
}
