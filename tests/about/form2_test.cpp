#include "form2.h"

#include "artwork.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

enum class Kind { Picture, Label, Button };

struct Row {
    const char *name;
    Kind kind;
    const char *text;
    QRect geometry; // pixels: twips / 15, rounded
};

// The About window's layout, written out independently of the window's code.
const Row kRows[] = {
    {"Image1", Kind::Picture, nullptr, QRect(37, 23, 32, 32)},
    {"Label1", Kind::Label, "Ostrevi电台参数设置软件", QRect(78, 30, 260, 19)},
    {"Label2", Kind::Label, nullptr, QRect(42, 71, 289, 18)},
    {"Label3", Kind::Label, nullptr, QRect(25, 100, 323, 16)},
    {"Label4", Kind::Label, nullptr, QRect(25, 117, 323, 16)},
    {"Label5", Kind::Label, nullptr, QRect(25, 133, 323, 16)},
    {"Label6", Kind::Label, nullptr, QRect(25, 150, 323, 16)},
    {"Label7", Kind::Label, nullptr, QRect(25, 167, 323, 16)},
    {"Label8", Kind::Label, nullptr, QRect(25, 183, 323, 16)},
    {"Command3", Kind::Button, "确    定", QRect(258, 193, 89, 25)},
};

QWidget *child(QWidget &form, const char *name)
{
    return form.findChild<QWidget *>(QString::fromLatin1(name));
}

QString labelText(Form2 &form, const char *name)
{
    auto *label = form.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

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

TEST(Form2Layout, EveryControlHasItsNameKindTextAndPlace)
{
    Form2 form(emblemIcon());
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.name);
        QWidget *control = child(form, row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget(), &form);
        EXPECT_EQ(control->geometry(), row.geometry);
        switch (row.kind) {
        case Kind::Picture:
        case Kind::Label:
            EXPECT_NE(qobject_cast<QLabel *>(control), nullptr);
            break;
        case Kind::Button:
            EXPECT_NE(qobject_cast<QPushButton *>(control), nullptr);
            break;
        }
        if (row.text) {
            if (auto *label = qobject_cast<QLabel *>(control)) {
                EXPECT_EQ(label->text(), QString::fromUtf8(row.text));
            }
            if (auto *button = qobject_cast<QPushButton *>(control)) {
                EXPECT_EQ(button->text(), QString::fromUtf8(row.text));
            }
        }
    }
}

TEST(Form2Layout, ImageShowsTheEmblemStretched)
{
    Form2 form(emblemIcon());
    auto *image = form.findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->hasScaledContents());
    const QPixmap picture = image->pixmap();
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.toImage().pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(picture.toImage().pixelColor(16, 4), QColor(0x1f, 0x4e, 0xb4));
    EXPECT_TRUE(image->text().isEmpty());
}

TEST(Form2Layout, TitleLabelUsesBoldHeitiAt14Point)
{
    Form2 form(emblemIcon());
    QWidget *title = child(form, "Label1");
    ASSERT_NE(title, nullptr);
    const QFont font = title->font();
    EXPECT_EQ(font.family(), QStringLiteral("黑体"));
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 14.25);
    EXPECT_TRUE(font.bold());
}

TEST(Form2Layout, MakerLinesUseTheWindowFont)
{
    Form2 form(emblemIcon());
    for (const char *name : {"Label2", "Label3", "Label4", "Label5", "Label6", "Label7", "Label8"}) {
        SCOPED_TRACE(name);
        QWidget *label = child(form, name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->font(), form.font());
    }
}

TEST(Form2Layout, MakerLinesSayWhatTheyAre)
{
    Form2 form(emblemIcon());
    const QString rights = labelText(form, "Label2");
    EXPECT_TRUE(rights.contains(QStringLiteral("版权所有")));
    EXPECT_TRUE(rights.contains(QRegularExpression(QStringLiteral("\\d{4}-\\d{4}"))));
    EXPECT_TRUE(labelText(form, "Label3").startsWith(QStringLiteral("地址：")));
    EXPECT_TRUE(labelText(form, "Label3").contains(QStringLiteral("邮编：")));
    EXPECT_TRUE(labelText(form, "Label4").startsWith(QStringLiteral("电话：")));
    EXPECT_TRUE(labelText(form, "Label5").startsWith(QStringLiteral("传真：")));
    EXPECT_TRUE(labelText(form, "Label6").contains(QStringLiteral("服务电话")));
    EXPECT_TRUE(labelText(form, "Label7").endsWith(QStringLiteral("@ostrevi.example")));
    EXPECT_TRUE(labelText(form, "Label8").endsWith(QStringLiteral("ostrevi.example")));
}

TEST(Form2Layout, OnlyTheOkButtonTakesFocus)
{
    Form2 form(emblemIcon());
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.name);
        QWidget *control = child(form, row.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->focusPolicy(),
                  row.kind == Kind::Button ? Qt::StrongFocus : Qt::NoFocus);
    }
    // Nothing else hides in the window that could take the focus.
    for (QWidget *w : form.findChildren<QWidget *>()) {
        if (w->objectName() != QStringLiteral("Command3")) {
            EXPECT_EQ(w->focusPolicy(), Qt::NoFocus) << w->objectName().toStdString();
        }
    }
}

TEST(Form2Window, CaptionSizeAndIcon)
{
    Form2 form(emblemIcon());
    EXPECT_EQ(form.objectName(), QStringLiteral("Form2"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(form.size(), QSize(373, 232));
    EXPECT_EQ(form.minimumSize(), QSize(373, 232));
    EXPECT_EQ(form.maximumSize(), QSize(373, 232));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
}

TEST(Form2Window, CloseBoxButNoMinimiseOrMaximise)
{
    Form2 form(emblemIcon());
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
    EXPECT_EQ(form.windowType(), Qt::Dialog);
}

TEST(Form2Window, OkButtonCloses)
{
    Form2 form(emblemIcon());
    form.show();
    ASSERT_TRUE(form.isVisible());
    auto *ok = form.findChild<QPushButton *>(QStringLiteral("Command3"));
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutWindow, IsApplicationModalWhileShownAndOkEndsIt)
{
    QPointer<QWidget> seen;
    bool looked = false;
    whileAboutIsOpen([&](QWidget *modal) {
        looked = true;
        seen = modal;
        ASSERT_NE(qobject_cast<Form2 *>(modal), nullptr);
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(modal->windowModality(), Qt::ApplicationModal);
        auto *ok = modal->findChild<QPushButton *>(QStringLiteral("Command3"));
        ASSERT_NE(ok, nullptr);
        // The focus lands on the OK button, the only control that takes it.
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        EXPECT_EQ(QApplication::focusWidget(), ok);
        ok->click();
    });
    EXPECT_TRUE(looked);
    // Returned only after the window closed, and the window is gone.
    EXPECT_TRUE(seen.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutWindow, CloseBoxEndsItToo)
{
    QPointer<QWidget> seen;
    whileAboutIsOpen([&](QWidget *modal) {
        seen = modal;
        ASSERT_NE(qobject_cast<Form2 *>(modal), nullptr);
        EXPECT_TRUE(modal->close());
    });
    EXPECT_TRUE(seen.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AboutWindow, IsCentredOnTheScreen)
{
    whileAboutIsOpen([&](QWidget *modal) {
        ASSERT_NE(modal, nullptr);
        const QPoint screenCentre = modal->screen()->availableGeometry().center();
        const QPoint windowCentre = modal->frameGeometry().center();
        EXPECT_LE((screenCentre - windowCentre).manhattanLength(), 2)
            << windowCentre.x() << "," << windowCentre.y();
        modal->close();
    });
}

TEST(AboutWindow, EveryShowingIsAFreshWindow)
{
    QPointer<QWidget> first;
    whileAboutIsOpen([&](QWidget *modal) {
        first = modal;
        ASSERT_NE(modal, nullptr);
        // Leave a mark that a reused window would still carry.
        modal->setProperty("shownBefore", true);
        modal->close();
    });
    EXPECT_TRUE(first.isNull());

    bool looked = false;
    whileAboutIsOpen([&](QWidget *modal) {
        looked = true;
        ASSERT_NE(qobject_cast<Form2 *>(modal), nullptr);
        EXPECT_FALSE(modal->property("shownBefore").isValid());
        modal->close();
    });
    EXPECT_TRUE(looked);
}
