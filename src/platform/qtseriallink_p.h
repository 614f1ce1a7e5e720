#pragma once

#include "platform/qtseriallink.h"

#include <QString>
#include <QStringList>

#include <optional>

// The system's side of QtSerialLink (qtseriallink_unix.cpp,
// qtseriallink_win.cpp): what QSerialPort leaves out, and the system's own
// account of a failed open. Not for the tool's other layers.

// Sets what QSerialPort leaves out on the open port: a damaged byte becomes
// "?", no software flow control, all eight bits kept. Qt rewrites the
// port's options whenever it applies a setting, so call this again after
// each one. None if the system refused.
std::optional<ReceiveErrors> applyNativeLineOptions(QSerialPort &port);

// The system's error from opening `device` again without taking the line
// over; 0 when it opens now.
int reopenError(const QString &device);

// The live program holding the device by a UUCP-style lock file, as Qt and
// other serial programs name it ("LCK..ttyUSB0", "LCK..pts_3"), in the
// system's lock folders or `folders`: "minicom，进程 42". Empty when none
// does or the system has no such files.
QString lockHolder(const QString &device);
QString lockHolder(const QString &device, const QStringList &folders);

// What a user can do about a refused permission, to follow "无权打开 …";
// empty where the system has no such remedy.
QString permissionRemedy();

// The cause behind the system's error from opening a serial device: errno
// on Linux, GetLastError() on Windows.
OpenFailureCause causeOfOpenError(int systemError);

// Asks the system again why opening `device` failed: QSerialPort reports a
// lock file, a refused permission and a missing device alike. `errorText`
// is QSerialPort's, kept when the device opens now.
OpenFailure diagnoseOpenFailure(const QString &device, const QString &errorText);
