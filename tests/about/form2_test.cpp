#include "form2.h"

#include "artwork.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The About window's layout. `text` is a pattern the whole text must match:
// the maker's lines are checked for what they are, not word for word.
const struct {
    const char *name, *kind, *text;
    QRect geometry; // pixels: twips / 15, rounded
} kRows[] = {
    {"Image1", "QLabel", "", QRect(37, 23, 32, 32)},
    {"Label1", "QLabel", "Ostrevi电台参数设置软件", QRect(78, 30, 260, 19)},
    {"Label2", "QLabel", ".*版权所有.*\\d{4}-\\d{4}.*", QRect(42, 71, 289, 18)},
    {"Label3", "QLabel", "地址：.*邮编：.*", QRect(25, 100, 323, 16)},
    {"Label4", "QLabel", "电话：.*", QRect(25, 117, 323, 16)},
    {"Label5", "QLabel", "传真：.*", QRect(25, 133, 323, 16)},
    {"Label6", "QLabel", ".*服务电话.*", QRect(25, 150, 323, 16)},
    {"Label7", "QLabel", ".*@ostrevi\\.example", QRect(25, 167, 323, 16)},
    {"Label8", "QLabel", ".*ostrevi\\.example", QRect(25, 183, 323, 16)},
    {"Command3", "QPushButton", "确    定", QRect(258, 193, 89, 25)},
};

// Runs `lookAt` on the window that is modal once the About window is up,
// then returns after showAboutWindow() has. A watchdog closes any window
// left open so that a failing check cannot hang the run.
void whileAboutIsOpen(const std::function<void(QWidget *)> &lookAt)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the About window was still open";
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    watchdog.start(5000);
    QTimer::singleShot(0, &watchdog, [&] { lookAt(QApplication::activeModalWidget()); });
    showAboutWindow(emblemIcon());
}

} // namespace

TEST(Form2Layout, EveryControlHasItsNameKindTextPlaceAndFont)
{
    Form2 form(emblemIcon());
    for (const auto &row : kRows) {
        SCOPED_TRACE(row.name);
        auto *control = form.findChild<QWidget *>(QString::fromLatin1(row.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), &form);
        ASSERT_STREQ(control->metaObject()->className(), row.kind);
        EXPECT_EQ(control->geometry(), row.geometry);
        const auto *label = qobject_cast<QLabel *>(control);
        const auto *button = qobject_cast<QPushButton *>(control);
        const QString text = label ? label->text() : button->text();
        const QString pattern = QRegularExpression::anchoredPattern(QString::fromUtf8(row.text));
        EXPECT_TRUE(QRegularExpression(pattern).match(text).hasMatch()) << text.toStdString();
        if (label && qstrcmp(row.name, "Label1") != 0 && qstrcmp(row.name, "Image1") != 0) {
            EXPECT_EQ(control->font(), form.font());
        }
    }
    const QFont title = form.findChild<QLabel *>(QStringLiteral("Label1"))->font();
    EXPECT_EQ(title.family(), QStringLiteral("黑体"));
    EXPECT_DOUBLE_EQ(title.pointSizeF(), 14.25);
    EXPECT_TRUE(title.bold());
    // The emblem, stretched to the picture's box.
    auto *image = form.findChild<QLabel *>(QStringLiteral("Image1"));
    EXPECT_TRUE(image->hasScaledContents());
    const QImage emblem = image->pixmap().toImage();
    ASSERT_EQ(emblem.size(), QSize(32, 32));
    EXPECT_EQ(emblem.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(emblem.pixelColor(16, 4), QColor(0x1f, 0x4e, 0xb4));

    // Only the OK button takes the focus, and nothing else hides in the window.
    for (QWidget *w : form.findChildren<QWidget *>()) {
        const bool ok = w->objectName() == QStringLiteral("Command3");
        EXPECT_EQ(w->focusPolicy(), ok ? Qt::StrongFocus : Qt::NoFocus) << w->objectName().toStdString();
    }
}

TEST(Form2Window, CaptionFixedSizeIconAndOnlyACloseBox)
{
    Form2 form(emblemIcon());
    EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(form.size(), QSize(373, 232));
    EXPECT_EQ(form.minimumSize(), QSize(373, 232));
    EXPECT_EQ(form.maximumSize(), QSize(373, 232));
    EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(form.windowType(), Qt::Dialog);
}

TEST(AboutWindow, IsCentredModalWhileShownAndAFreshWindowEachTime)
{
    QPointer<QWidget> window;
    bool looked = false;
    whileAboutIsOpen([&](QWidget *modal) {
        looked = true;
        window = modal;
        ASSERT_NE(qobject_cast<Form2 *>(modal), nullptr);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(modal->windowModality(), Qt::ApplicationModal);
        const QPoint offCentre =
            modal->screen()->availableGeometry().center() - modal->frameGeometry().center();
        EXPECT_LE(offCentre.manhattanLength(), 2);
        auto *ok = modal->findChild<QPushButton *>(QStringLiteral("Command3"));
        ASSERT_NE(ok, nullptr);
        // The focus lands on the OK button, the only control that takes it.
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        EXPECT_EQ(QApplication::focusWidget(), ok);
        // Leave a mark that a reused window would still carry.
        modal->setProperty("shownBefore", true);
        ok->click();
    });
    // Returned only after the window closed, and the window is gone.
    EXPECT_TRUE(looked);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    looked = false;
    whileAboutIsOpen([&](QWidget *modal) {
        looked = true;
        window = modal;
        ASSERT_NE(qobject_cast<Form2 *>(modal), nullptr);
        EXPECT_FALSE(modal->property("shownBefore").isValid());
        EXPECT_TRUE(modal->close());
    });
    EXPECT_TRUE(looked);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
