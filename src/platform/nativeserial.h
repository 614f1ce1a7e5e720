#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QSerialPort;

// The system's side of the serial link (nativeserial_unix.cpp,
// nativeserial_win.cpp): what QSerialPort leaves out, and the system's own
// account of a failed open.

// How the open port reports a byte received with a parity error.
enum class ReceiveErrors {
    Replaced, // the system itself delivers "?" in its place
    Marked,   // the system marks it; run the input through unescapeParityMarks
};

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
