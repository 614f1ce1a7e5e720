#pragma once

#include "cli/fields.h"
#include "protocol/frames.h"
#include "protocol/parameterreply.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

// What the field takes, in words: "只接受数字，至少 100000，最多 9 位".
QString acceptedValues(Field field);

// A profile file as read from disk: its name for messages, its bytes.
struct ProfileFile {
    QString name;
    QByteArray content;
};

// What a write asks for: a value for each field the profile or an option
// gives; the others stay as the unit stores them.
using Requested = FieldValues;

struct CheckedRequest {
    std::optional<Requested> requested; // none: see error
    QString error;
};

// Every field of the profile (all five required), replaced by those given as
// options, transmit and receive swapped for the unit at the other end of a
// link (which needs a frequency to swap). Checked as the window checks its
// boxes and lists; an error names the file and key, or the option, and what
// it takes.
CheckedRequest requestedValues(const std::optional<ProfileFile> &profile,
                               const std::map<Field, QString> &options, bool peer);

struct CheckedParameters {
    std::optional<Parameters> parameters; // none: see error
    QString error;
};

// What to write: the requested values, the rest as the unit stores them. A
// stored value that could not be written back (a parity the lists cannot
// name, a frequency the window would refuse) is not guessed at: the error
// names it and the option that gives it.
CheckedParameters completed(const Requested &requested, const protocol::ParameterReply &stored);

protocol::Bytes parameterFrame(const Parameters &parameters);
