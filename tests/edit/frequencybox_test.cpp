#include "frequencyfilter.h"

#include "formstate.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

// The rule wired to a real QLineEdit the way the window wires Text1_Change:
// on textChanged, with the box's own remembered text. The user's edits come
// as key events and pastes.
class FrequencyBoxTest : public ::testing::Test
{
protected:
    FrequencyBoxTest()
    {
        box.setText(QStringLiteral("100000"));
        QObject::connect(&box, &QLineEdit::textChanged, &box,
                         [this] { applyFrequencyRule(box, remembered); });
    }

    // Content set as if pasted earlier; the rule runs on it as on any change.
    void holding(const QString &text)
    {
        box.setText(text);
        ASSERT_EQ(box.text(), text);
    }

    QLineEdit box;
    QString remembered = FormState().LastText1;
};

TEST_F(FrequencyBoxTest, LetterInUntouchedBoxBringsBackInitialText)
{
    box.end(false);
    QTest::keyClicks(&box, QStringLiteral("x"));
    EXPECT_EQ(box.text(), QStringLiteral("100000"));
    EXPECT_EQ(box.cursorPosition(), 6);
    EXPECT_EQ(remembered, QStringLiteral("100000"));
}

TEST_F(FrequencyBoxTest, LetterInsideKeepsCaretWhereItWasTypedNotAtEnd)
{
    box.setCursorPosition(3);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_EQ(box.text(), QStringLiteral("100000"));
    EXPECT_EQ(box.cursorPosition(), 3);
}

TEST_F(FrequencyBoxTest, DigitsTypedAreKept)
{
    box.home(false);
    QTest::keyClicks(&box, QStringLiteral("7"));
    EXPECT_EQ(box.text(), QStringLiteral("7100000"));
    EXPECT_EQ(box.cursorPosition(), 1);
    EXPECT_EQ(remembered, QStringLiteral("7100000"));
}

TEST_F(FrequencyBoxTest, TenthDigitIsRefusedWithCaretOneFurtherRight)
{
    holding(QStringLiteral("123456789"));
    box.setCursorPosition(1);
    QTest::keyClicks(&box, QStringLiteral("5"));
    EXPECT_EQ(box.text(), QStringLiteral("123456789"));
    EXPECT_EQ(box.cursorPosition(), 2);

    box.end(false);
    QTest::keyClicks(&box, QStringLiteral("0"));
    EXPECT_EQ(box.text(), QStringLiteral("123456789"));
    EXPECT_EQ(box.cursorPosition(), 9);
}

TEST_F(FrequencyBoxTest, FullWidthDigitIsRefused)
{
    box.end(false);
    // keyClicks only knows Latin-1; an input method delivers it as text.
    QTest::sendKeyEvent(QTest::Click, &box, Qt::Key_unknown, QStringLiteral("１"),
                        Qt::NoModifier);
    EXPECT_EQ(box.text(), QStringLiteral("100000"));
    EXPECT_EQ(box.cursorPosition(), 6);
}

TEST_F(FrequencyBoxTest, SelectAllThenLetterRestoresWithCaretAtStart)
{
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Q);
    EXPECT_EQ(box.text(), QStringLiteral("100000"));
    EXPECT_EQ(box.cursorPosition(), 0);
}

TEST_F(FrequencyBoxTest, DeletingEverythingIsAccepted)
{
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(remembered, QString());
}

TEST_F(FrequencyBoxTest, BackspaceLeavingLetterBeforeCaretIsUndone)
{
    holding(QStringLiteral("12a4"));
    EXPECT_EQ(remembered, QStringLiteral("12a4"));
    box.end(false);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("12a4"));
    EXPECT_EQ(box.cursorPosition(), 2);
    EXPECT_EQ(remembered, QStringLiteral("12a4"));
}

TEST_F(FrequencyBoxTest, PasteEndingInDigitIsTakenWhole)
{
    holding(QString());
    box.insert(QStringLiteral("12a45"));
    EXPECT_EQ(box.text(), QStringLiteral("12a45"));
    EXPECT_EQ(box.cursorPosition(), 5);
    EXPECT_EQ(remembered, QStringLiteral("12a45"));
}

TEST_F(FrequencyBoxTest, PasteOfTenDigitsIntoEmptyBoxLeavesItEmpty)
{
    holding(QString());
    box.insert(QStringLiteral("1234567890"));
    EXPECT_EQ(box.text(), QString());
    EXPECT_EQ(box.cursorPosition(), 0);
    EXPECT_EQ(remembered, QString());
}

TEST_F(FrequencyBoxTest, DeletionLeavingCaretAtStartIsAcceptedBeforeALetter)
{
    holding(QStringLiteral("1a2"));
    box.home(false);
    QTest::keyClick(&box, Qt::Key_Delete);
    EXPECT_EQ(box.text(), QStringLiteral("a2"));
    EXPECT_EQ(box.cursorPosition(), 0);
    EXPECT_EQ(remembered, QStringLiteral("a2"));
}

TEST(FrequencyBoxes, EachBoxRemembersItsOwnText)
{
    QLineEdit text1(QStringLiteral("100000"));
    QLineEdit text2(QStringLiteral("100000"));
    FormState state;
    QObject::connect(&text1, &QLineEdit::textChanged, &text1,
                     [&] { applyFrequencyRule(text1, state.LastText1); });
    QObject::connect(&text2, &QLineEdit::textChanged, &text2,
                     [&] { applyFrequencyRule(text2, state.LastText2); });

    text1.end(false);
    QTest::keyClicks(&text1, QStringLiteral("5"));
    text2.end(false);
    QTest::keyClicks(&text2, QStringLiteral("z"));

    EXPECT_EQ(text1.text(), QStringLiteral("1000005"));
    EXPECT_EQ(state.LastText1, QStringLiteral("1000005"));
    EXPECT_EQ(text2.text(), QStringLiteral("100000"));
    EXPECT_EQ(state.LastText2, QStringLiteral("100000"));
}
