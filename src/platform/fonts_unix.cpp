#include "platform/fonts.h"

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
