#pragma once

#include "platform/openfailure.h"

#include <QStringList>

// The program named in a live UUCP-style lock file of the device in one of
// `folders`, named as Qt and other serial programs name it ("LCK..ttyUSB0",
// "LCK..pts_3"): "minicom，进程 42". Empty when no live program holds one.
QString lockHolder(const QString &device, const QStringList &folders);
