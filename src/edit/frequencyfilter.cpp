#include "edit/frequencyfilter.h"

#include "protocol/frames.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace {

bool isFrequencyDigit(QChar c)
{
    // Full-width and other Unicode digits would not survive the device's
    // decimal field, so only the ten ASCII ones count.
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The box as the rule drives it: setting the content moves the caret to the
// start and, when the content really changes, raises the change event.
class RuleBox
{
public:
    explicit RuleBox(const FrequencyBox &b) : m_box(b) { setCaret(b.caret); }

    void run()
    {
        const int p = m_box.caret;
        if (p > 0 && !isFrequencyDigit(m_box.content.at(p - 1))) {
            setContent(m_box.remembered);
            setCaret(p - 1);
        }
        const int q = m_box.caret;
        if (m_box.content.size() > protocol::kMaxFrequencyDigits) {
            setContent(m_box.remembered);
            setCaret(q);
        }
        m_box.remembered = m_box.content;
    }

    const FrequencyBox &box() const { return m_box; }

private:
    void setContent(const QString &text)
    {
        const bool changed = text != m_box.content;
        m_box.content = text;
        m_box.caret = 0;
        // The nested run finds the caret at 0, skips the digit test and
        // stores the restored text. Restoring a text the box already holds
        // raises nothing, so this never recurses deeper than one level.
        if (changed)
            run();
    }

    void setCaret(int caret)
    {
        m_box.caret = std::clamp(caret, 0, static_cast<int>(m_box.content.size()));
    }

    FrequencyBox m_box;
};

} // namespace

FrequencyBox frequencyRule(const FrequencyBox &changed)
{
    RuleBox box(changed);
    box.run();
    return box.box();
}

void applyFrequencyRule(QLineEdit &box, QString &remembered)
{
    FrequencyBox now;
    now.content = box.text();
    now.caret = box.hasSelectedText() ? box.selectionStart() : box.cursorPosition();
    now.remembered = remembered;
    const FrequencyBox after = frequencyRule(now);

    // The nested run a restore raises is already part of the rule's result,
    // so the box's own change signal stays quiet meanwhile. An accepted edit
    // leaves the box (and any selection) alone; after a restore, setText has
    // put the caret at the end and the rule says where it belongs.
    const QSignalBlocker quiet(box);
    if (after.content != now.content)
        box.setText(after.content);
    if (after.content != now.content || after.caret != now.caret)
        box.setCursorPosition(after.caret);
    remembered = after.remembered;
}
