#pragma once

#include "cli/arguments.h"
#include "cli/line.h"
#include "cli/output.h"
#include "cli/trace.h"
#include "protocol/parameterreply.h"

// What the commands that talk to a unit share: the line to it on the port
// the command line names, and the exchanges they have in common. Every
// failure is thrown as a Failure with its exit code.
class Session
{
public:
    explicit Session(const Invocation &run);

    Line &line() { return m_line; }
    const Line &line() const { return m_line; }

    // Opens at --settings, or detects the unit (the settings that last
    // answered on this port first). Returns the settings the line is at.
    QString reach();
    // Detects in `order`; no unit answering is exit 3 with `whenNone`.
    QString detectIn(const QStringList &order, const QString &whenNone);

    // Sends `request` and expects `wanted`: silence is exit 3, another
    // verdict exit 4, in the window's words. Returns the reply's frame.
    protocol::Bytes request(const protocol::Bytes &request, protocol::Operation op,
                            protocol::Verdict wanted);
    protocol::ParameterReply readUnit();

private:
    const Invocation &m_run;
    Trace m_trace;
    Line m_line;
    Progress m_progress;
};
