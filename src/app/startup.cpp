#include "app/startup.h"

#include "edit/requests.h"
#include "form/uitexts.h"

void Startup::Form_Load()
{
    m.state.ReplyPending = true;
    m.state.SendReady = true;
    m.controls.setLamp(Lamp::Red);

    m.state.PortsReady = false;
    m.controls.setListIndex(ListControl::Combo4, 0);
    m.state.PortsReady = true;

    // Each of these raises its list's click handler, and two of them reopen
    // the port on the way.
    m.controls.setListIndex(ListControl::Combo1, 0);
    m.controls.setListIndex(ListControl::Combo2, 0);
    m.controls.setListIndex(ListControl::Combo3, 0);

    SerialLink &link = m.MSComm1;
    if (link.portOpen() && link.setPortOpen(false) != CommError::None)
        return;
    link.setCommPort(m.controls.listIndex(ListControl::Combo4) + 1);
    link.setRTSEnable(true);
    link.setDTREnable(true);
    if (link.setSettings(QString::fromUtf8(uitexts::kStartupSettings)) != CommError::None)
        return;
    if (link.setPortOpen(true) != CommError::None) {
        m.messages.show(m.controls.listText(ListControl::Combo4)
                            + QString::fromUtf8(uitexts::kPortInUseSuffix),
                        QString::fromUtf8(uitexts::kAppTitle));
        return;
    }

    m_requests.Command1_Click();
}

void Startup::Combo4_Click()
{
    if (!m.state.PortsReady)
        return;

    SerialLink &link = m.MSComm1;
    if (link.portOpen() && link.setPortOpen(false) != CommError::None)
        return;
    link.setCommPort(m.controls.listIndex(ListControl::Combo4) + 1);
    // The port reopens with the settings it last had.
    if (link.setPortOpen(true) != CommError::None) {
        m.messages.show(QString::fromUtf8(uitexts::kPortTaken));
        return;
    }

    m.state.SendReady = true;
    m.state.ReplyPending = false;
}
