#pragma once

#include "form/formcontext.h"

// The "检测设备" button and Timer1: steps the port through ScanSettings,
// probing at each, until an exchange ends; then unlocks the request buttons
// and sends the handshake that the receive handler turns into "检测到设备。".
class DetectionScan
{
public:
    explicit DetectionScan(FormContext &form) : m_form(form) {}

    void Command4_Click();
    void Timer1_Timer();

private:
    // Ticks without an ended exchange after which the scan gives up.
    static constexpr int kGiveUpTicks = 42;

    bool reopenAtNextSettings();

    FormContext &m_form;
    // Blink phase of the counted ticks. Never reset, so a new scan carries
    // on from where the last one left the lamp.
    bool LampOn = false;
};
