#include "detect/failurereport.h"

#include "form/uitexts.h"

void FailureReport::Timer2_Timer()
{
    // Timer2 stays enabled until the box is closed, so a tick can fall due
    // while the box is open; it must not stack a second box on the first.
    if (m_reporting)
        return;

    m_form.state.ReplyPending = false;
    m_form.state.SendReady = true;

    m_reporting = true;
    m_form.messages.show(m_form.state.OpName + QString::fromUtf8(uitexts::kFailedSuffix),
                         QString::fromUtf8(uitexts::kAppTitle));
    m_reporting = false;

    m_form.Timer2.setEnabled(false);
}
