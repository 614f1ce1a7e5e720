#include "app/receivehandler.h"

#include "form/uitexts.h"
#include "protocol/operation.h"
#include "protocol/parameterreply.h"
#include "protocol/replyjudge.h"
#include "words/texts.h"

#include <optional>

namespace {

using protocol::Verdict;

// What each ending of an exchange does, in the order it is done. Every
// change of state comes before the box opens, so ticks and receptions
// handled while it is shown see the exchange as ended.
struct Outcome {
    Verdict verdict;
    bool stopsScan;
    bool clearsReplyPending;
    bool setsSendReady;
    bool showsGreen;
    protocol::Operation rejected; // named by the failure report; None: nothing rejected
    bool armsFailureReport;
    const char *message;
    bool decodesReply;    // after the box is closed
};

using protocol::Operation;

constexpr Outcome kOutcomes[] = {
    {Verdict::DeviceFound, true, true, true, true, Operation::None, false, uitexts::kDeviceFound, false},
    {Verdict::ParametersRead, false, true, true, false, Operation::None, false, uitexts::kReadDone, true},
    {Verdict::ReadRejected, false, false, true, false, Operation::Read, false, nullptr, false},
    {Verdict::Written, false, true, true, false, Operation::None, false, uitexts::kWritten, false},
    {Verdict::WriteRejected, false, false, false, false, Operation::Write, true, nullptr, false},
    {Verdict::Activated, false, true, true, false, Operation::None, false, uitexts::kActivated, false},
    {Verdict::ActivateRejected, false, false, false, false, Operation::Activate, true, nullptr, false},
};

const Outcome *outcomeFor(Verdict verdict)
{
    for (const Outcome &o : kOutcomes) {
        if (o.verdict == verdict)
            return &o;
    }
    return nullptr; // still gathering, or dropped by the gate
}

QString frequencyText(std::uint32_t hz)
{
    return QString::number(hz);
}

QString rateText(std::size_t at)
{
    return QString::fromUtf8(words::kRates.at(at));
}

QString parityText(std::size_t at)
{
    return QString::fromUtf8(words::kParities.at(at));
}

// A field the reply lacks leaves its box as it was.
template <typename Value, typename Say>
void show(Controls &controls, TextControl box, const std::optional<Value> &value, Say say)
{
    if (value)
        controls.setText(box, say(*value));
}

} // namespace

void ReceiveHandler::MSComm1_OnComm()
{
    const QByteArray input = m.MSComm1.input();
    if (input.isEmpty())
        return;

    protocol::Bytes accepted;
    const Verdict verdict = protocol::receive(
        m.state.rx, protocol::Bytes(input.begin(), input.end()), m.state.OpTag, &accepted);
    const Outcome *o = outcomeFor(verdict);
    if (!o)
        return;

    if (o->stopsScan)
        m.Timer1.setEnabled(false);
    if (o->clearsReplyPending)
        m.state.ReplyPending = false;
    if (o->setsSendReady)
        m.state.SendReady = true;
    if (o->showsGreen)
        m.controls.setLamp(Lamp::Green);
    if (o->rejected != Operation::None)
        m.state.OpName = QString::fromStdString(protocol::operationName(o->rejected));
    if (o->armsFailureReport)
        m.Timer2.setEnabled(true);
    if (o->message)
        m.messages.show(QString::fromUtf8(o->message));

    // The frame accepted above, not whatever the buffer holds now: a
    // reception handled while the box was open may have replaced it.
    if (o->decodesReply) {
        const protocol::ParameterReply reply = protocol::DecodeParameterReply(accepted);
        show(m.controls, TextControl::Text6, reply.transmitFrequency, frequencyText);
        show(m.controls, TextControl::Text7, reply.receiveFrequency, frequencyText);
        show(m.controls, TextControl::Text3, reply.interfaceRate, rateText);
        show(m.controls, TextControl::Text4, reply.channelRate, rateText);
        show(m.controls, TextControl::Text5, reply.parity, parityText);
    }
}
