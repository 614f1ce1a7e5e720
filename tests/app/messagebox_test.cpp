#include "qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

TEST(QtMessageBox, ShowsTheTextModallyWithOnlyAChineseOkButtonTitleAndIcon)
{
    const struct {
        const char *text, *title;
        MessageIcon icon;
        QMessageBox::Icon shown;
    } cases[] = {
        {"读取完毕！", "", MessageIcon::None, QMessageBox::NoIcon},
        {"调用浏览器错误！", "错误：", MessageIcon::Critical, QMessageBox::Critical},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        bool looked = false;
        // Looks at the box while it is open, then presses its button.
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            looked = true;
            EXPECT_TRUE(box->isModal());
            EXPECT_EQ(box->text(), QString::fromUtf8(c.text));
            EXPECT_EQ(box->icon(), c.shown);
            if (*c.title) {
                EXPECT_EQ(box->windowTitle(), QString::fromUtf8(c.title));
            } else {
                // Blank rather than empty, or the desktop would show the program name.
                EXPECT_TRUE(box->windowTitle().trimmed().isEmpty());
                EXPECT_FALSE(box->windowTitle().isEmpty());
            }
            QStringList buttons;
            for (QAbstractButton *b : box->buttons())
                buttons << b->text();
            EXPECT_EQ(buttons, QStringList {"确定"});
            box->buttons().first()->click();
        });
        const QString title = *c.title ? QString::fromUtf8(c.title) : QString();
        QtMessageBox().show(QString::fromUtf8(c.text), title, c.icon);
        EXPECT_TRUE(looked);
    }
}
