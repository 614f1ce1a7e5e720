#pragma once

#include "fakes.h"
#include "formcontext.h"

// The window's shared state over fakes of every seam, for driving handlers
// without a window.
struct FakeForm {
    FormState state;
    FakeControls controls;
    FakeLink link;
    FakeTimer timer1;
    FakeTimer timer2;
    FakeMessageBox boxes;
    FormContext form{state, controls, link, timer1, timer2, boxes};
};
