#include "edit/frequencyfilter.h"
#include "edit/requests.h"
#include "fakes.h"

#include <gtest/gtest.h>

// Each case gives the box right after the user's edit (content and caret as
// the edit left them), the text remembered before it, and the box the rule
// leaves.
TEST(FrequencyRule, RefusesANonDigitBeforeTheCaretAndATenthCharacter)
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
        {"full-width one", "100000１", 7, "100000", "100000", 6, "100000"},
        {"colon, next to the digits", "12:", 3, "12", "12", 2, "12"},
        {"slash, before the digits", "12/", 3, "12", "12", 2, "12"},
        {"backspace leaving letter before caret", "12a", 3, "12a4", "12a4", 2, "12a4"},
        {"caret past shorter restored text", "123456x", 7, "12", "12", 2, "12"},
        {"digit at start", "7100000", 1, "100000", "7100000", 1, "7100000"},
        {"paste ending in digit", "12a45", 5, "", "12a45", 5, "12a45"},
        {"everything deleted", "", 0, "100000", "", 0, ""},
        {"tenth digit at end", "1234567890", 10, "123456789", "123456789", 9, "123456789"},
        // Refused for length with the caret one right of where it was, not
        // back at 1 as a digit refusal would leave it.
        {"tenth digit after first", "1523456789", 2, "123456789", "123456789", 2, "123456789"},
        {"ten digits pasted into empty box", "1234567890", 10, "", "", 0, ""},
        {"nine digits", "123456789", 9, "12345678", "123456789", 9, "123456789"},
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

TEST(FrequencyValue, LeadingAsciiDigitsSaturatingAtTheFieldMaximum)
{
    const struct {
        const char *content;
        std::uint32_t value;
    } cases[] = {{"100000", 100000}, {"12a45", 12}, {"", 0}, {"a1", 0}, {"１2", 0},
                 {"4294967295", 4294967295u}, {"99999999999", 4294967295u}};
    for (const auto &c : cases)
        EXPECT_EQ(frequencyValue(QString::fromUtf8(c.content)), c.value) << c.content;
}

class RequestsTest : public ::testing::Test, protected FakeForm
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(link.setPortOpen(true), CommError::None);
        state.SendReady = true;
    }
    Requests requests{form};
};

TEST_F(RequestsTest, ReadAndWriteLeaveTheLinkBusyActivateFreesIt)
{
    controls.texts = {QStringLiteral("100000"), QStringLiteral("999999")};
    controls.lists = {3, 4, 1, 0};
    requests.Command1_Click();
    EXPECT_EQ(state.OpTag, protocol::Operation::Read);
    EXPECT_FALSE(state.SendReady);
    requests.Command2_Click();
    EXPECT_EQ(state.OpTag, protocol::Operation::Write);
    EXPECT_FALSE(state.SendReady);
    requests.Command3_Click();
    EXPECT_EQ(state.OpTag, protocol::Operation::Activate);
    EXPECT_TRUE(state.SendReady);
    EXPECT_EQ(link.written, (QStringList{"F0 CC 0D", "F0 AA A0 86 01 00 3F 42 0F 00 A3 0D", "F0 33 0D"}));
    EXPECT_TRUE(boxes.shown.isEmpty());
}

TEST_F(RequestsTest, WriteWithAFrequencyBelowTheRangeShowsOneMessageAndSendsNothing)
{
    for (const auto &texts : {std::array<QString, 7>{"99999", "12"}, std::array<QString, 7>{"100000", "99999x"},
                              std::array<QString, 7>{"", "100000"}}) {
        controls.texts = texts;
        requests.Command2_Click();
    }
    EXPECT_EQ(boxes.shown, QStringList(3, QStringLiteral("频点的取值应在100000--999999之间！")));
    EXPECT_TRUE(link.written.isEmpty());
    EXPECT_TRUE(state.SendReady);
    EXPECT_EQ(state.OpTag, protocol::Operation::None);
}

TEST_F(RequestsTest, OnAClosedPortEachRequestEndsSilentlyWithTheLinkBusy)
{
    ASSERT_EQ(link.setPortOpen(false), CommError::None);
    requests.Command3_Click();
    EXPECT_EQ(state.OpTag, protocol::Operation::Activate);
    EXPECT_FALSE(state.SendReady);
    EXPECT_TRUE(boxes.shown.isEmpty());
}
