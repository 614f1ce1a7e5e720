#include "edit/requests.h"

#include "protocol/frames.h"
#include "protocol/operation.h"
#include "form/uitexts.h"

#include <limits>

std::uint32_t frequencyValue(const QString &content)
{
    constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t value = 0;
    for (const QChar c : content) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        const std::uint32_t digit = static_cast<std::uint32_t>(c.unicode() - u'0');
        if (value > (kMax - digit) / 10)
            return kMax;
        value = value * 10 + digit;
    }
    return value;
}

void Requests::Command1_Click()
{
    m_form.state.SendReady = false;
    m_form.state.OpTag = protocol::Operation::Read;
    // A closed port refuses the frame; the request then ends without a word.
    static_cast<void>(writeFrame(m_form.MSComm1, protocol::ReadRequest()));
}

void Requests::Command2_Click()
{
    const std::uint32_t transmit = frequencyValue(m_form.controls.text(TextControl::Text1));
    if (transmit < protocol::kMinFrequency) {
        m_form.messages.show(QString::fromUtf8(uitexts::kFrequencyRange));
        return;
    }
    const std::uint32_t receive = frequencyValue(m_form.controls.text(TextControl::Text2));
    if (receive < protocol::kMinFrequency) {
        m_form.messages.show(QString::fromUtf8(uitexts::kFrequencyRange));
        return;
    }

    m_form.state.SendReady = false;
    m_form.state.OpTag = protocol::Operation::Write;
    const protocol::Bytes frame = protocol::ParameterFrame(
        transmit, receive, m_form.controls.listIndex(ListControl::Combo1),
        m_form.controls.listIndex(ListControl::Combo2),
        m_form.controls.listIndex(ListControl::Combo3));
    static_cast<void>(writeFrame(m_form.MSComm1, frame));
}

void Requests::Command3_Click()
{
    m_form.state.SendReady = false;
    m_form.state.OpTag = protocol::Operation::Activate;
    // Only a frame that went out frees the link for the next probe; after a
    // refused write SendReady stays clear.
    if (writeFrame(m_form.MSComm1, protocol::ActivateRequest()) != CommError::None)
        return;
    m_form.state.SendReady = true;
}
