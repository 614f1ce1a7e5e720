#pragma once

#include "form/formcontext.h"

// Timer2: half a second after a wrong write or activate acknowledgement,
// ends the exchange and tells the user which operation did not succeed.
class FailureReport
{
public:
    explicit FailureReport(FormContext &form) : m_form(form) {}

    void Timer2_Timer();

private:
    FormContext &m_form;
    // True while the report's box is open: one rejection, one report.
    bool m_reporting = false;
};
