#include "about/help.h"

#include "platform/messagebox.h"
#include "form/uitexts.h"

#include <QFileInfo>
#include <QUrl>

namespace {

constexpr char kHelpFileName[] = "help.htm";

} // namespace

QString helpFilePath(const QString &toolDir)
{
    const QString name = QString::fromLatin1(kHelpFileName);
    if (toolDir.isEmpty())
        return name;
    if (toolDir.endsWith(QLatin1Char('/')) || toolDir.endsWith(QLatin1Char('\\')))
        return toolDir + name;
    return toolDir + QLatin1Char('/') + name;
}

bool openHelpPage(const QString &toolDir, MessageBox &messages, const UrlOpener &open)
{
    const QFileInfo page(helpFilePath(toolDir));
    // Some desktops report success for a file that is not there and then
    // show their own error; checking first keeps the tool's message.
    const bool opened = page.isFile() && open
                        && open(QUrl::fromLocalFile(page.absoluteFilePath()));
    if (!opened)
        messages.show(QString::fromUtf8(uitexts::kBrowserError),
                      QString::fromUtf8(uitexts::kBrowserErrorTitle),
                      MessageIcon::Critical);
    return opened;
}
