#include "qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>

void QtMessageBox::show(const QString &text, const QString &title, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, m_parent);
    // The tool speaks Chinese whatever the desktop's language is.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}
