#include "platform/desktop.h"

#include <QDir>

namespace {

QString toolFolder(const char *variable, const char *defaultUnderHome)
{
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QLatin1Char('/') + QLatin1String(defaultUnderHome);
    return QDir::cleanPath(base + QStringLiteral("/radio-setup"));
}

} // namespace

QString configFolder()
{
    return toolFolder("XDG_CONFIG_HOME", ".config");
}

QString stateFolder()
{
    return toolFolder("XDG_STATE_HOME", ".local/state");
}

QString stateFolderHint()
{
    return QStringLiteral("$XDG_STATE_HOME/radio-setup/（默认 ~/.local/state/radio-setup/）");
}

// fontconfig falls back to a CJK face for the default font by itself; the
// title names the two faces Debian's CJK font packages bring.
QStringList textFontFamilies()
{
    return {};
}

QStringList titleFontFamilies()
{
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
}
