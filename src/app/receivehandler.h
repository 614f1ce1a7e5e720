#pragma once

#include "form/formcontext.h"

// MSComm1_OnComm: gathers what the link received, lets the reply judge
// decide, and carries out the outcome.
class ReceiveHandler
{
public:
    explicit ReceiveHandler(FormContext &context) : m(context) {}

    void MSComm1_OnComm();

private:
    FormContext &m;
};
