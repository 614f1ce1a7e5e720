#include "detect/detectionscan.h"

#include "detect/nextsettings.h"

#include "protocol/frames.h"
#include "protocol/operation.h"
#include "form/uitexts.h"


void DetectionScan::Command4_Click()
{
    m_form.state.ScanTicks = 0;
    m_form.Timer1.setEnabled(true);
}

void DetectionScan::Timer1_Timer()
{
    FormState &state = m_form.state;

    if (state.ReplyPending) {
        // Nothing has ended since the last tick: the probe went unanswered.
        ++state.ScanTicks;
        LampOn = !LampOn;
        if (state.ScanTicks >= kGiveUpTicks) {
            state.ScanTicks = 0;
            m_form.Timer1.setEnabled(false);
            m_form.controls.setLamp(Lamp::Red);
            m_form.messages.show(QString::fromUtf8(uitexts::kNoDevice));
            return;
        }
        m_form.controls.setRequestButtonsEnabled(false);
        m_form.controls.setLamp(LampOn ? Lamp::Red : Lamp::Yellow);
        if (m_form.MSComm1.portOpen()) {
            if (!reopenAtNextSettings()) {
                // The port stays closed; later ticks skip the reopen and,
                // with SendReady clear, probe nothing until the scan gives up.
                state.ReplyPending = true;
                return;
            }
            state.SendReady = true;
        }
    } else {
        // An exchange has ended: something answers at these settings.
        m_form.controls.setLamp(Lamp::Green);
        m_form.controls.setRequestButtonsEnabled(true);
    }

    if (state.SendReady) {
        state.OpTag = state.ReplyPending ? protocol::Operation::Read
                                         : protocol::Operation::Handshake;
        if (writeFrame(m_form.MSComm1, protocol::ReadRequest()) != CommError::None) {
            // A closed port (start-up never opened it): the tick counts as
            // unanswered and SendReady keeps its value.
            state.ReplyPending = true;
            return;
        }
    }
    state.SendReady = false;
    state.ReplyPending = true;
}

bool DetectionScan::reopenAtNextSettings()
{
    SerialLink &link = m_form.MSComm1;
    if (link.setPortOpen(false) != CommError::None)
        return false;
    // A settings string in no position is kept: the port reopens unchanged.
    if (const auto next = nextScanSettings(link.settings())) {
        link.setCommPort(m_form.controls.listIndex(ListControl::Combo4) + 1);
        if (link.setSettings(*next) != CommError::None)
            return false;
    }
    return link.setPortOpen(true) == CommError::None;
}
