#include "requests.h"

#include "fakeform.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> values)
{
    return QByteArray(reinterpret_cast<const char *>(values.begin()),
                      static_cast<qsizetype>(values.size()));
}

// The window with the port open, both frequencies at 100000 and every list
// at its first item; an earlier exchange is still pending.
struct Window : FakeForm {
    Window(const char *text1 = "100000", const char *text2 = "100000")
    {
        link.setPortOpen(true);
        controls.lists = {0, 0, 0, 0};
        controls.texts[0] = QString::fromUtf8(text1);
        controls.texts[1] = QString::fromUtf8(text2);
        state.SendReady = true;
        state.ReplyPending = true;
        state.OpTag = protocol::Operation::Handshake;
        state.OpName = QStringLiteral("写入");
    }

    // Requests never touch the reply state or the timers.
    void expectReplyStateUntouched() const
    {
        EXPECT_TRUE(state.ReplyPending);
        EXPECT_EQ(state.OpName, QStringLiteral("写入"));
        EXPECT_FALSE(timer1.isEnabled());
        EXPECT_FALSE(timer2.isEnabled());
    }

    Requests requests{form};
};

} // namespace

TEST(Requests, ReadQueuesEveryRequestAndLeavesLinkBusyActivateFreesIt)
{
    Window w;
    w.requests.Command1_Click();
    w.requests.Command1_Click();
    EXPECT_EQ(w.link.written, (QList<QByteArray>{bytes({0xF0, 0xCC, 0x0D}), bytes({0xF0, 0xCC, 0x0D})}));
    EXPECT_EQ(w.state.OpTag, protocol::Operation::Read);
    EXPECT_FALSE(w.state.SendReady);

    w.requests.Command3_Click();
    EXPECT_EQ(w.link.written.size(), 3);
    EXPECT_EQ(w.link.written.last(), bytes({0xF0, 0x33, 0x0D}));
    EXPECT_EQ(w.state.OpTag, protocol::Operation::Activate);
    EXPECT_TRUE(w.state.SendReady);
    EXPECT_TRUE(w.boxes.shown.empty());
    w.expectReplyStateUntouched();
}

TEST(Requests, WriteSendsFrequenciesAndSettingsByte)
{
    const struct {
        const char *text1, *text2;
        std::array<int, 4> lists;
        QByteArray frame;
    } cases[] = {
        {"100000", "999999", {3, 4, 1, 0},
         bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x3F, 0x42, 0x0F, 0x00, 0xA3, 0x0D})},
        {"100000", "100000", {0, 0, 0, 0},
         bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0xA0, 0x86, 0x01, 0x00, 0x00, 0x0D})},
        {"100000", "100000", {-1, -1, -1, 0},
         bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0xA0, 0x86, 0x01, 0x00, 0x00, 0x0D})},
        // Nine digits above the message's range are taken as they are.
        {"999999999", "1000000", {0, 0, 0, 0},
         bytes({0xF0, 0xAA, 0xFF, 0xC9, 0x9A, 0x3B, 0x40, 0x42, 0x0F, 0x00, 0x00, 0x0D})},
        {"100000abc", "123456x7", {0, 0, 0, 0},
         bytes({0xF0, 0xAA, 0xA0, 0x86, 0x01, 0x00, 0x40, 0xE2, 0x01, 0x00, 0x00, 0x0D})},
        // 2^32 would wrap to 0 and 20 nines to some arbitrary value.
        {"4294967296", "99999999999999999999", {0, 0, 0, 0},
         bytes({0xF0, 0xAA, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x0D})},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text2);
        Window w(c.text1, c.text2);
        w.controls.lists = c.lists;
        w.requests.Command2_Click();
        EXPECT_EQ(w.link.written, QList<QByteArray>{c.frame});
        EXPECT_EQ(w.state.OpTag, protocol::Operation::Write);
        EXPECT_FALSE(w.state.SendReady);
        EXPECT_TRUE(w.boxes.shown.empty());
        w.expectReplyStateUntouched();
    }
}

TEST(Requests, WriteWithAFrequencyBelowTheRangeShowsOneMessageAndSendsNothing)
{
    // Only leading ASCII digits count: "12a45" is 12, "a100000" is 0.
    const char *const cases[][2] = {
        {"99999", "100000"}, {"100000", "99999"}, {"5", "7"}, {"", "100000"},
        {"12a45", "100000"}, {"100000", "a100000"}, {"１００００００", "100000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " / " << c[1]);
        Window w(c[0], c[1]);
        w.requests.Command2_Click();
        ASSERT_EQ(w.boxes.shown.size(), 1u);
        EXPECT_EQ(w.boxes.shown[0].text, QStringLiteral("频点的取值应在100000--999999之间！"));
        EXPECT_EQ(w.boxes.shown[0].title, QString());
        EXPECT_EQ(w.boxes.shown[0].icon, MessageIcon::None);
        EXPECT_TRUE(w.link.written.isEmpty());
        EXPECT_EQ(w.state.OpTag, protocol::Operation::Handshake);
        EXPECT_TRUE(w.state.SendReady);
        EXPECT_TRUE(w.link.portOpen());
        EXPECT_EQ(w.link.closes, 0);
    }
}

TEST(Requests, ClosedPortEndsSilentlyWithTagSetAndLinkBusy)
{
    const struct {
        void (Requests::*click)();
        protocol::Operation tag;
    } cases[] = {
        {&Requests::Command1_Click, protocol::Operation::Read},
        {&Requests::Command2_Click, protocol::Operation::Write},
        {&Requests::Command3_Click, protocol::Operation::Activate},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.tag));
        Window w;
        w.link.setPortOpen(false);
        (w.requests.*c.click)();
        EXPECT_TRUE(w.link.written.isEmpty());
        EXPECT_TRUE(w.boxes.shown.empty());
        EXPECT_EQ(w.state.OpTag, c.tag);
        EXPECT_FALSE(w.state.SendReady);
    }
}

TEST(FrequencyValue, LeadingAsciiDigitsSaturatingAtTheFieldMaximum)
{
    EXPECT_EQ(frequencyValue(QStringLiteral("100000")), 100000u);
    EXPECT_EQ(frequencyValue(QStringLiteral("0000123")), 123u);
    EXPECT_EQ(frequencyValue(QStringLiteral("12a45")), 12u);
    EXPECT_EQ(frequencyValue(QString()), 0u);
    EXPECT_EQ(frequencyValue(QStringLiteral(" 100000")), 0u);
    EXPECT_EQ(frequencyValue(QStringLiteral("-100000")), 0u);
    EXPECT_EQ(frequencyValue(QStringLiteral("4294967295")), 4294967295u);
    EXPECT_EQ(frequencyValue(QStringLiteral("4294967296")), 4294967295u);
    EXPECT_EQ(frequencyValue(QStringLiteral("42949672950")), 4294967295u);
    EXPECT_EQ(frequencyValue(QString(500, QLatin1Char('9'))), 4294967295u);
}
