#include "platform/serialdevices.h"

#include <QDir>
#include <QFileInfo>

QMultiHash<QString, QString> stableDeviceNames()
{
    QMultiHash<QString, QString> names;
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty())
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

bool mayListDevice(const QString &path)
{
    // The system lists a tty only with a device behind it, which a
    // pseudo-terminal (under /dev/pts, not in /sys/class/tty) never has.
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return !name.isEmpty() && QFileInfo::exists(QStringLiteral("/sys/class/tty/%1/device").arg(name));
}
