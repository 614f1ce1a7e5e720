#include "platform/qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>

void QtMessageBox::show(const QString &text, const QString &title, MessageIcon icon)
{
    // Qt puts the program's file name in a title bar left empty; a blank
    // keeps the caption as empty as the user expects it.
    const QString caption = title.isEmpty() ? QStringLiteral(" ") : title;
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, m_parent);
    // The tool speaks Chinese whatever the desktop's language is.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}
