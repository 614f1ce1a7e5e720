#include "qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Seen {
    bool modal = false;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Shows one box and looks at it while it is open, then presses its button.
Seen showAndLook(const QString &text, const QString &title, MessageIcon icon)
{
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.modal = box->isModal();
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            seen.buttons << b->text();
        box->buttons().first()->click();
    });
    QtMessageBox().show(text, title, icon);
    return seen;
}

} // namespace

TEST(QtMessageBox, ShowsTheTextModallyWithOnlyAChineseOkButton)
{
    const Seen seen = showAndLook(QStringLiteral("读取完毕！"), QString(), MessageIcon::None);
    EXPECT_TRUE(seen.modal);
    EXPECT_EQ(seen.text, QStringLiteral("读取完毕！"));
    EXPECT_EQ(seen.buttons, QStringList{"确定"});
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    // Blank rather than empty, or the desktop would show the program name.
    EXPECT_TRUE(seen.title.trimmed().isEmpty());
    EXPECT_FALSE(seen.title.isEmpty());
}

TEST(QtMessageBox, CarriesTheGivenTitleAndTheStopIcon)
{
    const Seen seen = showAndLook(QStringLiteral("调用浏览器错误！"), QStringLiteral("错误："),
                                  MessageIcon::Critical);
    EXPECT_EQ(seen.title, QStringLiteral("错误："));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QStringList{"确定"});
}
