#pragma once

#include "form/formcontext.h"

class Requests;

// Bringing the window into its working state, and reopening the port when
// another one is picked.
class Startup
{
public:
    Startup(FormContext &context, Requests &requests) : m(context), m_requests(requests) {}

    void Form_Load();
    void Combo4_Click();

private:
    FormContext &m;
    Requests &m_requests;
};
