#pragma once

#include <QStringList>

// radioctl from its command line (program name first) to its exit status.
int runCommandLine(const QStringList &arguments);
