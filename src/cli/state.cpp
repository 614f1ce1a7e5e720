#include "cli/state.h"

#include "cli/failure.h"
#include "platform/userfolders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

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

// Writes the whole file or nothing, so a run cut short leaves the old one.
QString save(const QString &path, const QByteArray &content)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("无法创建文件夹 %1").arg(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        return file.errorString();
    return {};
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
    QJsonObject all = remembered();
    if (all.value(port).toString() == settings)
        return;
    all.insert(port, settings);
    static_cast<void>(save(rememberedFile(), QJsonDocument(all).toJson()));
}

QString saveBackup(const QString &port, const QString &profileJson)
{
    // "/dev/ttyUSB0" becomes "dev_ttyUSB0": one file name, no folders.
    QString name = port;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("_"));
    name.remove(QRegularExpression(QStringLiteral("^_+")));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString path = stateFolder() + QStringLiteral("/backups/%1-%2.json").arg(name, stamp);
    if (const QString error = save(path, profileJson.toUtf8() + '\n'); !error.isEmpty())
        throw Failure{exitcode::kBadInput, QStringLiteral("无法保存备份 %1：%2；未写入").arg(path, error)};
    return path;
}
