#pragma once

#include "form/formcontext.h"

#include <QString>

#include <cstdint>

// The number formed by the decimal digits at the start of a frequency box;
// 0 when it does not start with one. Saturates at the field's maximum
// instead of wrapping on a run of digits too long for it.
std::uint32_t frequencyValue(const QString &content);

// The read, write and activate buttons. Each queues its frame and returns;
// the reply is judged by the receive handler.
class Requests
{
public:
    explicit Requests(FormContext &form) : m_form(form) {}

    void Command1_Click(); // read
    void Command2_Click(); // write
    void Command3_Click(); // activate

private:
    FormContext &m_form;
};
