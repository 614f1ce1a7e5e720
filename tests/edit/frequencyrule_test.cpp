#include "frequencyfilter.h"

#include <gtest/gtest.h>

// Each case gives the box right after the user's edit (content and caret as
// the edit left them), the text remembered before it, and the box the rule
// leaves.
TEST(FrequencyRule, RefusesNonDigitBeforeCaretAndTenthCharacter)
{
    const struct {
        const char *name, *content;
        int caret;
        const char *remembered, *wantContent;
        int wantCaret;
        const char *wantRemembered;
    } cases[] = {
        {"letter typed at end", "100000x", 7, "100000", "100000", 6, "100000"},
        {"letter typed inside", "100a000", 4, "100000", "100000", 3, "100000"},
        {"selection replaced by letter", "x", 1, "100000", "100000", 0, "100000"},
        {"full-width one", "100000１", 7, "100000", "100000", 6, "100000"},
        {"slash", "12/", 3, "12", "12", 2, "12"},
        {"colon", "12:", 3, "12", "12", 2, "12"},
        {"space", "12 ", 3, "12", "12", 2, "12"},
        {"Arabic-Indic three", "12٣", 3, "12", "12", 2, "12"},
        {"backspace leaving letter before caret", "12a", 3, "12a4", "12a4", 2, "12a4"},
        // An emoji is two UTF-16 units; the caret after it is beyond "100000".
        {"caret past restored text", "100000😀", 8, "100000", "100000", 6, "100000"},
        {"caret past shorter restored text", "123456x", 7, "12", "12", 2, "12"},
        {"digit at start", "7100000", 1, "100000", "7100000", 1, "7100000"},
        {"zero", "10", 2, "1", "10", 2, "10"},
        {"nine", "19", 2, "1", "19", 2, "19"},
        {"paste ending in digit", "12a45", 5, "", "12a45", 5, "12a45"},
        {"only the character before caret", "1x00000", 1, "100000", "1x00000", 1, "1x00000"},
        {"everything deleted", "", 0, "100000", "", 0, ""},
        {"letter after caret at start", "a12", 0, "5a12", "a12", 0, "a12"},
        {"tenth digit at end", "1234567890", 10, "123456789", "123456789", 9, "123456789"},
        // Refused for length with the caret one right of where it was, not
        // back at 1 as a digit refusal would leave it.
        {"tenth digit after first", "1523456789", 2, "123456789", "123456789", 2, "123456789"},
        {"ten digits pasted into empty box", "1234567890", 10, "", "", 0, ""},
        {"long paste ending in digit", "ab12345678", 10, "100000", "100000", 6, "100000"},
        {"letter as tenth character", "123456789x", 10, "123456789", "123456789", 9, "123456789"},
        {"nine digits", "123456789", 9, "12345678", "123456789", 9, "123456789"},
        {"caret beyond the end", "12", 40, "1", "12", 2, "12"},
        {"caret before the start", "1x", -3, "1", "1x", 0, "1x"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const FrequencyBox got = frequencyRule(
            {QString::fromUtf8(c.content), c.caret, QString::fromUtf8(c.remembered)});
        EXPECT_EQ(got.content, QString::fromUtf8(c.wantContent));
        EXPECT_EQ(got.caret, c.wantCaret);
        EXPECT_EQ(got.remembered, QString::fromUtf8(c.wantRemembered));
    }
}
