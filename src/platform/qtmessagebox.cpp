#include "platform/qtmessagebox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

void QtMessageBox::show(const QString &text, const QString &title, MessageIcon icon)
{
    // Qt puts the program's file name in a title bar left empty; a blank
    // keeps the caption as empty as the user expects it.
    const QString caption = title.isEmpty() ? QStringLiteral(" ") : title;
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::NoIcon,
                    caption, text, QMessageBox::NoButton, m_parent);
    // The tool speaks Chinese whatever the desktop's language is.
    QPushButton *ok = box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    ok->setIcon(okIcon(box));
    box.setDefaultButton(ok);
    box.exec();
}

// A standard button takes a new icon from the style for every box, and once
// drawn, each one's pixmaps stay in Qt's pixmap cache under keys of their
// own: a day of boxes grew the window by megabytes. One icon per style is
// drawn from the same entries every time.
const QIcon &QtMessageBox::okIcon(const QWidget &box)
{
    QStyle *style = box.style();
    if (m_okIconStyle != style) {
        m_okIconStyle = style;
        m_okIcon = style->styleHint(QStyle::SH_DialogButtonBox_ButtonsHaveIcons, nullptr, &box)
                       ? style->standardIcon(QStyle::SP_DialogOkButton, nullptr, &box)
                       : QIcon();
    }
    return m_okIcon;
}
