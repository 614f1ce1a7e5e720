#include "windowfixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QScreen>
#include <QLabel>
#include <QStatusBar>

#include <cmath>

namespace {

// Twips as drawn, to the pixels the window must use (15 twips a pixel).
QRect twips(int left, int top, int width, int height)
{
    const auto p = [](int t) { return int(std::lround(t / 15.0)); };
    return QRect(p(left), p(top), p(width), p(height));
}

struct Expected {
    const char *name;
    const char *kind; // Qt class name
    const char *parent;
    const char *caption;
    QRect geometry;
    bool enabled;
};

const Expected kWindow[] = {
    {"Frame1", "QGroupBox", "Form1", "设置参数", twips(240, 150, 3735, 2655), true},
    {"Frame2", "QGroupBox", "Form1", "当前参数", twips(240, 3000, 3735, 2415), true},
    {"Command4", "QPushButton", "Form1", "检测设备", twips(4320, 255, 1335, 375), true},
    {"Command1", "QPushButton", "Form1", "读取参数", twips(4320, 720, 1335, 375), false},
    {"Command2", "QPushButton", "Form1", "写入参数", twips(4320, 1200, 1335, 375), false},
    {"Command3", "QPushButton", "Form1", "激    活", twips(4320, 1680, 1335, 375), false},
    {"Command5", "QPushButton", "Form1", "帮    助", twips(4320, 4560, 1335, 375), true},
    {"Command6", "QPushButton", "Form1", "关    于", twips(4320, 5040, 1335, 375), true},
    {"Image1", "QLabel", "Form1", "", twips(4695, 3060, 540, 555), true},
    {"StatusBar1", "QStatusBar", "Form1", "", twips(0, 5535, 6000, 375), true},
    {"Label5", "QLabel", "Frame1", "串行端口：", twips(240, 375, 975, 255), true},
    {"Combo4", "QComboBox", "Frame1", "", twips(1320, 330, 2175, 345), true},
    {"Label1", "QLabel", "Frame1", "接口速率：", twips(240, 735, 975, 255), true},
    {"Combo1", "QComboBox", "Frame1", "", twips(1320, 675, 2175, 345), true},
    {"Label2", "QLabel", "Frame1", "信道速率：", twips(240, 1095, 975, 255), true},
    {"Combo2", "QComboBox", "Frame1", "", twips(1320, 1050, 2175, 345), true},
    {"Label3", "QLabel", "Frame1", "校验格式：", twips(240, 1455, 975, 255), true},
    {"Combo3", "QComboBox", "Frame1", "", twips(1320, 1410, 2175, 345), true},
    {"Label4", "QLabel", "Frame1", "发射频点：", twips(240, 1815, 975, 255), true},
    {"Text1", "QLineEdit", "Frame1", "100000", twips(1320, 1770, 1800, 345), true},
    {"Label6", "QLabel", "Frame1", "接收频点：", twips(240, 2175, 975, 255), true},
    {"Text2", "QLineEdit", "Frame1", "100000", twips(1320, 2130, 1800, 345), true},
    {"Label7", "QLabel", "Frame1", "Hz", twips(3120, 1800, 375, 375), true},
    {"Label8", "QLabel", "Frame1", "Hz", twips(3105, 2150, 375, 375), true},
    {"Label11", "QLabel", "Frame2", "接口速率：", twips(270, 405, 975, 255), true},
    {"Text3", "QLineEdit", "Frame2", "", twips(1320, 330, 2175, 345), true},
    {"Label10", "QLabel", "Frame2", "信道速率：", twips(270, 780, 975, 255), true},
    {"Text4", "QLineEdit", "Frame2", "", twips(1320, 705, 2175, 345), true},
    {"Label12", "QLabel", "Frame2", "校验格式：", twips(270, 1140, 975, 255), true},
    {"Text5", "QLineEdit", "Frame2", "", twips(1320, 1080, 2175, 345), true},
    {"Label13", "QLabel", "Frame2", "发射频点：", twips(270, 1500, 975, 255), true},
    {"Text6", "QLineEdit", "Frame2", "", twips(1320, 1455, 1800, 345), true},
    {"Label9", "QLabel", "Frame2", "接收频点：", twips(270, 1860, 975, 255), true},
    {"Text7", "QLineEdit", "Frame2", "", twips(1320, 1845, 1800, 345), true},
    {"Label15", "QLabel", "Frame2", "Hz", twips(3150, 1485, 375, 375), true},
    {"Label14", "QLabel", "Frame2", "Hz", twips(3135, 1830, 375, 375), true},
};

QString captionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QPushButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return {};
}

QStringList itemsOf(QComboBox *c)
{
    QStringList items;
    for (int i = 0; i < c->count(); ++i)
        items << c->itemText(i);
    return items;
}

} // namespace

using LayoutTest = WindowTest;

TEST_F(LayoutTest, EveryControlIsWhereItWasDrawn)
{
    for (const Expected &e : kWindow) {
        SCOPED_TRACE(e.name);
        auto *w = child<QWidget>(e.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), e.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromUtf8(e.parent));
        EXPECT_EQ(captionOf(w), QString::fromUtf8(e.caption));
        EXPECT_EQ(w->geometry(), e.geometry);
        EXPECT_EQ(w->isEnabled(), e.enabled);
    }
}

TEST_F(LayoutTest, WindowIsFixedCentredTitledWithOneEmptyStatusPanelAndBlankLamp)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Ostrevi电台参数设置软件"));
    EXPECT_EQ(form->minimumSize(), QSize(400, 394));
    EXPECT_EQ(form->maximumSize(), QSize(400, 394));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form->windowIcon().isNull());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(form->geometry().center().x() - screen.center().x()), 1);
    EXPECT_LE(std::abs(form->geometry().center().y() - screen.center().y()), 1);

    auto *panel = child<QLabel>("Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), 96);
    EXPECT_TRUE(panel->text().isEmpty());
    EXPECT_TRUE(child<QLabel>("Image1")->pixmap().isNull());
    EXPECT_TRUE(child<QLabel>("Image1")->hasScaledContents());
}

TEST_F(LayoutTest, ListsHoldTheirItemsAndNoSelectionBeforeStartUp)
{
    QStringList ports;
    for (int i = 1; i <= 16; ++i)
        ports << QStringLiteral("COM%1").arg(i);
    const QStringList rates{"1200", "2400", "4800", "9600", "19200", "38400", "57600"};

    EXPECT_EQ(itemsOf(child<QComboBox>("Combo4")), ports);
    EXPECT_EQ(itemsOf(child<QComboBox>("Combo1")), rates);
    EXPECT_EQ(itemsOf(child<QComboBox>("Combo2")), rates);
    EXPECT_EQ(itemsOf(child<QComboBox>("Combo3")), (QStringList{"无", "奇", "偶"}));
    for (const char *name : {"Combo1", "Combo2", "Combo3", "Combo4"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(child<QComboBox>(name)->isEditable());
        EXPECT_EQ(child<QComboBox>(name)->currentIndex(), -1);
    }
}

TEST_F(LayoutTest, InputsAreCyanArialNinePointCurrentValuesReadOnlyYetFocusable)
{
    for (const char *name : {"Combo1", "Combo2", "Combo3", "Combo4", "Text1", "Text2", "Text3",
                             "Text4", "Text5", "Text6", "Text7"}) {
        SCOPED_TRACE(name);
        auto *w = child<QWidget>(name);
        EXPECT_EQ(w->font().family(), QStringLiteral("Arial"));
        EXPECT_EQ(w->font().pointSizeF(), 9.0);
        EXPECT_FALSE(w->font().bold());
        const QPalette::ColorRole text =
            qobject_cast<QComboBox *>(w) ? QPalette::ButtonText : QPalette::Text;
        EXPECT_EQ(w->palette().color(text), QColor(0, 255, 255));
    }
    for (const char *name : {"Combo1", "Text1", "Text2"})
        EXPECT_EQ(child<QWidget>(name)->palette().color(QPalette::Base), QColor(0, 0, 0)) << name;
    for (const char *name : {"Text1", "Text2"}) {
        EXPECT_FALSE(child<QLineEdit>(name)->isReadOnly()) << name;
        EXPECT_EQ(child<QLineEdit>(name)->maxLength(), 32767) << name; // no limit of their own
    }
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    for (const char *name : {"Text3", "Text4", "Text5", "Text6", "Text7"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(child<QWidget>(name)->palette().color(QPalette::Base), windowText);
        EXPECT_TRUE(child<QLineEdit>(name)->isReadOnly());
        EXPECT_NE(child<QLineEdit>(name)->focusPolicy() & Qt::TabFocus, 0);
    }
}

TEST_F(LayoutTest, CaptionLabelsNameTheirInputs)
{
    const std::pair<const char *, const char *> pairs[] = {
        {"Label5", "Combo4"}, {"Label1", "Combo1"},  {"Label2", "Combo2"}, {"Label3", "Combo3"},
        {"Label4", "Text1"},  {"Label6", "Text2"},   {"Label11", "Text3"}, {"Label10", "Text4"},
        {"Label12", "Text5"}, {"Label13", "Text6"}, {"Label9", "Text7"},
    };
    for (const auto &[label, input] : pairs) {
        SCOPED_TRACE(label);
        EXPECT_EQ(child<QLabel>(label)->buddy(), child<QWidget>(input));
        EXPECT_EQ(child<QWidget>(input)->accessibleName(), child<QLabel>(label)->text());
    }
}

TEST_F(LayoutTest, TabOrderFollowsTheDrawnTabIndexes)
{
    // Enable the request buttons so that they are in the chain too.
    form->setRequestButtonsEnabled(true);
    const QStringList expected{"Combo1", "Combo2", "Combo3", "Text1",  "Command2", "Command3",
                               "Text2",  "Command1", "Command4", "Combo4", "Text3",  "Text4",
                               "Text5",  "Text6",  "Text7",  "Command5", "Command6"};
    QStringList chain;
    QWidget *start = child<QWidget>("Combo1");
    QWidget *w = start;
    do {
        if (expected.contains(w->objectName()))
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start && chain.size() < 100);
    EXPECT_EQ(chain, expected);
    for (const char *name : {"Frame1", "Frame2", "Image1", "StatusBar1", "Label1", "Label7"})
        EXPECT_EQ(child<QWidget>(name)->focusPolicy(), Qt::NoFocus) << name;
}
