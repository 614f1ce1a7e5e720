#include "frequencyfilter.h"

#include "formstate.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

// The rule wired to a real QLineEdit the way the window wires Text1_Change:
// on textChanged, with the box's own remembered text. The user's edits come
// as key events and pastes.
TEST(FrequencyBox, EditsAreKeptOrUndoneAsTheUserSeesThem)
{
    enum Edit { Type, Press, Paste };
    constexpr int kEnd = -1, kAll = -2;
    const struct {
        const char *name, *holding;
        int caret;
        Edit edit;
        const char *text;
        Qt::Key key;
        const char *want;
        int wantCaret;
        const char *wantRemembered;
    } cases[] = {
        {"letter in untouched box", "100000", kEnd, Type, "x", {}, "100000", 6, "100000"},
        {"letter inside", "100000", 3, Press, "", Qt::Key_A, "100000", 3, "100000"},
        {"digit at start", "100000", 0, Type, "7", {}, "7100000", 1, "7100000"},
        {"tenth digit after first", "123456789", 1, Type, "5", {}, "123456789", 2, "123456789"},
        {"tenth digit at end", "123456789", kEnd, Type, "0", {}, "123456789", 9, "123456789"},
        // keyClicks only knows Latin-1; an input method delivers it as text.
        {"full-width digit", "100000", kEnd, Type, "１", Qt::Key_unknown, "100000", 6, "100000"},
        {"select all, letter", "100000", kAll, Press, "", Qt::Key_Q, "100000", 0, "100000"},
        {"select all, delete", "100000", kAll, Press, "", Qt::Key_Delete, "", 0, ""},
        {"backspace leaving letter", "12a4", kEnd, Press, "", Qt::Key_Backspace, "12a4", 2, "12a4"},
        {"paste ending in digit", "", kEnd, Paste, "12a45", {}, "12a45", 5, "12a45"},
        {"paste of ten digits", "", kEnd, Paste, "1234567890", {}, "", 0, ""},
        {"delete leaving letter after caret", "1a2", 0, Press, "", Qt::Key_Delete, "a2", 0, "a2"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QLineEdit box(QStringLiteral("100000"));
        QString remembered = FormState().LastText1;
        QObject::connect(&box, &QLineEdit::textChanged, &box,
                         [&] { applyFrequencyRule(box, remembered); });
        // Content set as if pasted earlier; the rule runs on it as on any change.
        box.setText(QString::fromUtf8(c.holding));
        ASSERT_EQ(box.text(), QString::fromUtf8(c.holding));
        EXPECT_EQ(remembered, QString::fromUtf8(c.holding));

        if (c.caret == kAll)
            box.selectAll();
        else
            box.setCursorPosition(c.caret == kEnd ? box.text().size() : c.caret);
        if (c.edit == Paste)
            box.insert(QString::fromUtf8(c.text));
        else if (c.edit == Press)
            QTest::keyClick(&box, c.key);
        else if (c.key == Qt::Key_unknown)
            QTest::sendKeyEvent(QTest::Click, &box, c.key, QString::fromUtf8(c.text), Qt::NoModifier);
        else
            QTest::keyClicks(&box, QString::fromUtf8(c.text));

        EXPECT_EQ(box.text(), QString::fromUtf8(c.want));
        EXPECT_EQ(box.cursorPosition(), c.wantCaret);
        EXPECT_EQ(remembered, QString::fromUtf8(c.wantRemembered));
    }
}
