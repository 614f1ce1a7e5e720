#pragma once

#include "controls.h"
#include "formstate.h"
#include "messagebox.h"
#include "seriallink.h"
#include "timer.h"

// What a handler may touch: the shared variables and the window's seams.
struct FormContext {
    FormState &state;
    Controls &controls;
    SerialLink &MSComm1;
    Timer &Timer1;
    Timer &Timer2;
    MessageBox &messages;
};
