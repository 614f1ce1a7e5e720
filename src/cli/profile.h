#pragma once

#include "protocol/frames.h"
#include "protocol/parameterreply.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <map>
#include <optional>

// The five values a unit stores, in the order profiles and listings give them.
enum class Field { Tx, Rx, Interface, Channel, Parity };
inline constexpr std::size_t kFieldCount = 5;
inline constexpr std::array<Field, kFieldCount> kAllFields{Field::Tx, Field::Rx, Field::Interface,
                                                           Field::Channel, Field::Parity};

// Frequencies in Hz; rates and parity as indexes of the window's lists.
using Parameters = std::array<std::uint32_t, kFieldCount>;

// The field's key in a profile, its option ("--tx") and the window's label
// ("发射频点：").
struct FieldNames {
    const char *key;
    const char *option;
    const char *label;
};
const FieldNames &namesOf(Field field);
// What the field takes, in words: "只接受数字，至少 100000，最多 9 位".
QString acceptedValues(Field field);

// A profile file as read from disk: its name for messages, its bytes.
struct ProfileFile {
    QString name;
    QByteArray content;
};

// What a write asks for: a value for each field the profile or an option
// gives; the others stay as the unit stores them.
using Requested = std::array<std::optional<std::uint32_t>, kFieldCount>;

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

// One line per field that the write changes, in field order:
// "接口速率：4800 → 9600".
QStringList changes(const protocol::ParameterReply &stored, const Parameters &target);

protocol::Bytes parameterFrame(const Parameters &parameters);

// Each field as the window shows it ("433000", "9600", "奇"); empty for a
// field the reply lacks.
using ShownFields = std::array<QString, kFieldCount>;
ShownFields shownFields(const protocol::ParameterReply &reply);
ShownFields shownFields(const Parameters &parameters);

// The reply as one line of JSON in field order, the form --profile takes:
// {"tx_hz": 433000, …, "parity": "odd"}; null for what cannot be named.
QString profileJson(const protocol::ParameterReply &reply);

// One entry per field that reads back other than written, naming it and
// both values.
QStringList differences(const Parameters &written, const protocol::ParameterReply &readBack);

// The line settings the unit moves to when activated: the interface rate and
// parity it stores ("9600,O,8,1"). A parity it cannot name leaves `current`'s.
QString settingsAfterActivation(const protocol::ParameterReply &stored, const QString &current);
