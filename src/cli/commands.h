#pragma once

#include "cli/arguments.h"

// One function per command; each returns the exit status or throws a
// Failure. Data goes to standard output, messages to standard error.
int listPorts(const Invocation &run);
int detectUnit(const Invocation &run);
int readUnit(const Invocation &run);
int writeUnit(const Invocation &run);
int activateUnit(const Invocation &run);
// Every port at once; see portsToProbe() for which.
int findUnits(const Invocation &run);
