#include "cli/state.h"

#include "cli/failure.h"
#include "platform/desktop.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

// Runs on other ports hold the lock only while they rewrite the file, a few
// milliseconds; one that waits longer than this merely forgets.
constexpr int kLockWaitMs = 10000;
// Backups of one port within one millisecond take numbered names.
constexpr int kBackupNamesPerStamp = 100;

QString rememberedFile()
{
    return stateFolder() + QStringLiteral("/last-settings.json");
}

QJsonObject remembered()
{
    QFile file(rememberedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

bool makeFolderFor(const QString &path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

std::optional<QString> rememberedSettings(const QString &port)
{
    const QJsonValue value = remembered().value(port);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

void rememberSettings(const QString &port, const QString &settings)
{
    rememberSettings(QMap<QString, QString>{{port, settings}});
}

void rememberSettings(const QMap<QString, QString> &settingsByPort)
{
    if (settingsByPort.isEmpty() || !makeFolderFor(rememberedFile()))
        return;
    // One radioctl per port runs at once on a bench: each rewrites the whole
    // file, so without the lock one run would drop what another just added.
    QLockFile lock(rememberedFile() + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs))
        return;
    QJsonObject all = remembered();
    const QJsonObject before = all;
    for (auto at = settingsByPort.begin(); at != settingsByPort.end(); ++at)
        all.insert(at.key(), at.value());
    if (all == before)
        return;
    // Whole or not at all: a reader without the lock never sees half a file.
    QSaveFile file(rememberedFile());
    if (file.open(QIODevice::WriteOnly))
        file.write(QJsonDocument(all).toJson());
    static_cast<void>(file.commit());
}

QString saveBackup(const QString &port, const QString &profileJson, const QDateTime &at)
{
    // A device path becomes one file name: "dev_ttyUSB0", no folders.
    QString name = port;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("_"));
    name.remove(QRegularExpression(QStringLiteral("^_+")));
    const QString stamp = at.toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base = stateFolder() + QStringLiteral("/backups/%1-%2").arg(name, stamp);
    const auto fail = [&](const QString &why) {
        return Failure{exitcode::kNotWritten, QStringLiteral("无法在 %1 保存备份：%2；未写入").arg(QFileInfo(base).absolutePath(), why)};
    };
    if (!makeFolderFor(base))
        throw fail(QStringLiteral("无法创建该文件夹"));
    // The name is taken by creating the file, which fails where it exists, so
    // two runs never share one; the content then replaces it whole.
    QString path;
    for (int n = 1; path.isEmpty() && n <= kBackupNamesPerStamp; ++n) {
        QFile candidate(base + (n == 1 ? QString() : QStringLiteral("-%1").arg(n)) + QStringLiteral(".json"));
        if (candidate.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            path = candidate.fileName();
        else if (!candidate.exists())
            throw fail(candidate.errorString());
    }
    if (path.isEmpty())
        throw fail(QStringLiteral("同一时刻的备份过多"));
    QSaveFile file(path);
    const QByteArray content = profileJson.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        QFile::remove(path);
        throw fail(file.errorString());
    }
    return path;
}
