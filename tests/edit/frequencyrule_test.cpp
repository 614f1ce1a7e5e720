#include "frequencyfilter.h"

#include <gtest/gtest.h>

#include <ostream>

// Each case gives the box right after the user's edit (content and caret as
// the edit left them) and the text remembered before it.

void PrintTo(const FrequencyBox &b, std::ostream *os)
{
    *os << '"' << b.content.toStdString() << "\" caret " << b.caret << " remembered \""
        << b.remembered.toStdString() << '"';
}

namespace {

struct Expected {
    const char *content;
    int caret;
    const char *remembered;
};

void expectBox(const FrequencyBox &got, const Expected &want)
{
    EXPECT_EQ(got.content, QString::fromUtf8(want.content));
    EXPECT_EQ(got.caret, want.caret);
    EXPECT_EQ(got.remembered, QString::fromUtf8(want.remembered));
}

FrequencyBox edited(const char *content, int caret, const char *remembered)
{
    return {QString::fromUtf8(content), caret, QString::fromUtf8(remembered)};
}

} // namespace

TEST(FrequencyRuleRefusesNonDigit, LetterTypedAtEndPutsCaretBackAtEnd)
{
    expectBox(frequencyRule(edited("100000x", 7, "100000")), {"100000", 6, "100000"});
}

TEST(FrequencyRuleRefusesNonDigit, LetterTypedInsidePutsCaretWhereItWasTyped)
{
    expectBox(frequencyRule(edited("100a000", 4, "100000")), {"100000", 3, "100000"});
}

TEST(FrequencyRuleRefusesNonDigit, WholeSelectionReplacedByLetterRestoresWithCaretAtStart)
{
    expectBox(frequencyRule(edited("x", 1, "100000")), {"100000", 0, "100000"});
}

TEST(FrequencyRuleRefusesNonDigit, FullWidthDigitOneIsNotADigit)
{
    expectBox(frequencyRule(edited("100000１", 7, "100000")), {"100000", 6, "100000"});
}

TEST(FrequencyRuleRefusesNonDigit, NeighboursOfTheAsciiDigitsAreRefused)
{
    expectBox(frequencyRule(edited("12/", 3, "12")), {"12", 2, "12"});
    expectBox(frequencyRule(edited("12:", 3, "12")), {"12", 2, "12"});
    expectBox(frequencyRule(edited("12 ", 3, "12")), {"12", 2, "12"});
    expectBox(frequencyRule(edited("12٣", 3, "12")), {"12", 2, "12"});
}

TEST(FrequencyRuleRefusesNonDigit, BackspaceLeavingLetterInFrontOfCaretIsUndone)
{
    // "12a4" was pasted earlier; Backspace at the end leaves "12a".
    expectBox(frequencyRule(edited("12a", 3, "12a4")), {"12a4", 2, "12a4"});
}

TEST(FrequencyRuleRefusesNonDigit, CaretPastTheRestoredTextLandsAtItsEnd)
{
    // An emoji is two UTF-16 units; the caret after it is beyond "100000".
    expectBox(frequencyRule(edited("100000😀", 8, "100000")), {"100000", 6, "100000"});
    expectBox(frequencyRule(edited("123456x", 7, "12")), {"12", 2, "12"});
}

TEST(FrequencyRuleAcceptsDigitInFrontOfCaret, DigitAtStartMakesSevenDigits)
{
    expectBox(frequencyRule(edited("7100000", 1, "100000")), {"7100000", 1, "7100000"});
}

TEST(FrequencyRuleAcceptsDigitInFrontOfCaret, EdgesOfTheDigitRange)
{
    expectBox(frequencyRule(edited("10", 2, "1")), {"10", 2, "10"});
    expectBox(frequencyRule(edited("19", 2, "1")), {"19", 2, "19"});
}

TEST(FrequencyRuleAcceptsDigitInFrontOfCaret, PastedTextEndingInDigitIsTakenWhole)
{
    expectBox(frequencyRule(edited("12a45", 5, "")), {"12a45", 5, "12a45"});
}

TEST(FrequencyRuleAcceptsDigitInFrontOfCaret, OnlyTheCharacterInFrontOfCaretIsTested)
{
    // Caret after the "1": the letter behind it is never looked at.
    expectBox(frequencyRule(edited("1x00000", 1, "100000")), {"1x00000", 1, "1x00000"});
}

TEST(FrequencyRuleAcceptsCaretAtStart, DeletingEverythingEmptiesBoxAndMemory)
{
    expectBox(frequencyRule(edited("", 0, "100000")), {"", 0, ""});
}

TEST(FrequencyRuleAcceptsCaretAtStart, DeletionLeavingLetterAfterCaretAtStart)
{
    expectBox(frequencyRule(edited("a12", 0, "5a12")), {"a12", 0, "a12"});
}

TEST(FrequencyRuleRefusesTenthCharacter, DigitTypedAtEndOfNineDigits)
{
    expectBox(frequencyRule(edited("1234567890", 10, "123456789")),
              {"123456789", 9, "123456789"});
}

TEST(FrequencyRuleRefusesTenthCharacter, CaretEndsOneRightOfWhereItWas)
{
    // Caret was after "1"; typing "5" there is refused with the caret at 2,
    // not back at 1 as a digit refusal would leave it.
    expectBox(frequencyRule(edited("1523456789", 2, "123456789")),
              {"123456789", 2, "123456789"});
}

TEST(FrequencyRuleRefusesTenthCharacter, TenDigitsPastedIntoEmptyBox)
{
    expectBox(frequencyRule(edited("1234567890", 10, "")), {"", 0, ""});
}

TEST(FrequencyRuleRefusesTenthCharacter, LongPasteEndingInDigitIsStillTooLong)
{
    expectBox(frequencyRule(edited("ab12345678", 10, "100000")), {"100000", 6, "100000"});
}

TEST(FrequencyRuleRefusesTenthCharacter, LetterAsTenthCharacterIsRefusedOnce)
{
    expectBox(frequencyRule(edited("123456789x", 10, "123456789")),
              {"123456789", 9, "123456789"});
}

TEST(FrequencyRuleAcceptsNineCharacters, NineDigitsIsTheLimit)
{
    expectBox(frequencyRule(edited("123456789", 9, "12345678")),
              {"123456789", 9, "123456789"});
}

TEST(FrequencyRuleBadInput, CaretOutsideTheTextIsTakenAsItsEnd)
{
    expectBox(frequencyRule(edited("12", 40, "1")), {"12", 2, "12"});
    expectBox(frequencyRule(edited("1x", -3, "1")), {"1x", 0, "1x"});
}

TEST(FrequencyRuleBadInput, OverlongRememberedTextEndsWithoutLooping)
{
    const FrequencyBox got = frequencyRule(edited("x", 1, "1234567890"));
    EXPECT_EQ(got.content, QStringLiteral("1234567890"));
    EXPECT_EQ(got.remembered, QStringLiteral("1234567890"));
}
