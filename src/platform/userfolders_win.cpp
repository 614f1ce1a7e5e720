#include "platform/userfolders.h"

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
