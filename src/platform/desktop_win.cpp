#include "platform/desktop.h"

#include <QStandardPaths>

namespace {

// Both are %LOCALAPPDATA% on Windows: the user's own, not roaming.
QString toolFolder(QStandardPaths::StandardLocation base)
{
    return QStandardPaths::writableLocation(base) + QStringLiteral("/radio-setup");
}

} // namespace

QString configFolder()
{
    return toolFolder(QStandardPaths::GenericConfigLocation);
}

QString stateFolder()
{
    return toolFolder(QStandardPaths::GenericDataLocation);
}

QString stateFolderHint()
{
    return QStringLiteral("%LOCALAPPDATA%\\radio-setup\\");
}

// Microsoft YaHei and SimSun come with every Windows 10 and 11; SimHei (黑体)
// only with the Chinese ones or their supplemental fonts. Noto Sans CJK SC,
// last, is what Linux shows, where someone has installed it.
QStringList textFontFamilies()
{
    return {QStringLiteral("Microsoft YaHei UI"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")};
}

QStringList titleFontFamilies()
{
    return {QStringLiteral("黑体"), QStringLiteral("SimHei"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("Noto Sans CJK SC")};
}
