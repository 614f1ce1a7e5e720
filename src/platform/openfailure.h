#pragma once

#include <QString>

// Why a serial port did not open, in the terms a technician can act on.
enum class OpenFailureCause {
    NoDevice,         // nothing behind the port, or the adapter is unplugged
    PermissionDenied, // the user may not open the device
    Busy,             // another program holds it
    Other,            // the system's own words say what
};

struct OpenFailure {
    OpenFailureCause cause = OpenFailureCause::Other;
    QString device;     // what was opened; empty when the port names no device
    QString holder;     // Busy: the program holding it, when its lock file says
    QString systemText; // Other: the system's description
};

// The cause behind the system's error from opening a serial device: errno
// on Linux, GetLastError() on Windows.
OpenFailureCause causeOfOpenError(int systemError);

// Asks the system again why opening `device` failed: QSerialPort reports a
// lock file, a refused permission and a missing device alike. `errorText`
// is QSerialPort's, kept when the device opens now.
OpenFailure diagnoseOpenFailure(const QString &device, const QString &errorText);

// One line in Chinese, for the status bar and the command line.
QString describeOpenFailure(const QString &portName, const OpenFailure &failure);
