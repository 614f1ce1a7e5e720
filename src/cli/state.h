#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>

#include <optional>

// What radioctl keeps between runs, in stateFolder().

// The line settings at which a unit last answered on `port` (as --port
// names it), for detection to try first.
std::optional<QString> rememberedSettings(const QString &port);
// Safe with runs on other ports at the same time. Best effort: a run that
// cannot remember merely detects slower next time.
void rememberSettings(const QString &port, const QString &settings);
// Several ports' at once, in one rewrite under the lock.
void rememberSettings(const QMap<QString, QString> &settingsByPort);

// Saves a unit's values before they are overwritten, as a profile named
// for the port and the time `at` to the millisecond (numbered when that
// name is taken), under backups/. Returns its path; throws a Failure when it
// cannot be saved, so nothing is written without one.
QString saveBackup(const QString &port, const QString &profileJson,
                   const QDateTime &at = QDateTime::currentDateTime());
