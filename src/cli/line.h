#pragma once

#include "cli/failure.h"
#include "cli/trace.h"
#include "platform/qtseriallink.h"
#include "protocol/replyjudge.h"

#include <optional>

// How an exchange ended: a verdict of the reply judge that ends it, or
// Gathering when nothing that ends it came within the window.
struct Answer {
    protocol::Verdict verdict = protocol::Verdict::Gathering;
    protocol::Bytes frame; // the parameter reply, for ParametersRead
};

// The serial line to the unit: opened at one of its settings, one request
// at a time, each reply judged by the window's own rules and waited for no
// longer than asked. A port that does not open, a device that goes away and
// the user's Ctrl-C end the command: these throw a Failure.
class Line
{
public:
    // Opens `device`, which `portName` stands for (none: nothing does).
    Line(const QString &portName, const std::optional<QString> &device, Trace &trace);
    ~Line();

    // Opens at `settings`, or moves the open port to them with DTR and RTS
    // kept raised; a failure gives the cause as the window's status bar
    // words it.
    void open(const QString &settings);
    void close();
    QString settings() const { return m_settings; }
    QString device() const { return m_link.device(); }

    Answer exchange(const protocol::Bytes &request, protocol::Operation op, int windowMs);

    // Lets `ms` pass with the line quiet.
    void pause(int ms);

private:
    // A settings string the link refuses is bad input; anything else is an
    // open that failed.
    void failUnless(CommError error) const;
    void stopIfAsked();
    Failure lost() const;

    QString m_portName;
    QString m_settings;
    Trace &m_trace;
    QtSerialLink m_link;
};
