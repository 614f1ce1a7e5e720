#pragma once

#include <QString>

#include <functional>

class MessageBox;
class QUrl;

// Hands a file URL to the desktop; false when nothing could be launched.
// The window passes QDesktopServices::openUrl.
using UrlOpener = std::function<bool(const QUrl &)>;

// "help.htm" in the tool's directory. A directory that already ends in a
// separator (a drive root such as "D:\") is not given a second one.
QString helpFilePath(const QString &toolDir);

// What the help button does: opens "help.htm" from the tool's directory in
// the user's browser. A missing page or a launch that fails gives the error
// box "调用浏览器错误！"; nothing else is ever shown. Returns whether the
// page was handed over.
bool openHelpPage(const QString &toolDir, MessageBox &messages, const UrlOpener &open);
