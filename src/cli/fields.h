#pragma once

#include "protocol/parameterreply.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

// The five values a unit stores, in the order profiles and listings give them.
enum class Field { Tx, Rx, Interface, Channel, Parity };
inline constexpr std::size_t kFieldCount = 5;
inline constexpr std::array<Field, kFieldCount> kAllFields{Field::Tx, Field::Rx, Field::Interface,
                                                           Field::Channel, Field::Parity};
enum class FieldKind { Frequency, Rate, Parity };

// Frequencies in Hz; rates and parity as positions in the window's lists.
using Parameters = std::array<std::uint32_t, kFieldCount>;
// Some of the five: those a write asks for, or those a reply names.
using FieldValues = std::array<std::optional<std::uint32_t>, kFieldCount>;

// The field's key in a profile, its option ("--tx") and the window's label
// ("发射频点：").
struct FieldNames {
    const char *key;
    const char *option;
    const char *label;
};
const FieldNames &namesOf(Field field);
FieldKind kindOf(Field field);
// The label without its colon, for naming the field inside a sentence.
QString nameOf(Field field);

// The parity list's positions as a profile names them: none, odd, even.
inline constexpr std::array<const char *, 3> kParityNames{"none", "odd", "even"};

FieldValues valuesOf(const protocol::ParameterReply &reply);

// A value as the window shows it ("433000", "9600", "奇"); empty for none.
QString shown(Field field, std::optional<std::uint32_t> value);
// The same for a value the unit stores, "无法识别" for none.
QString shownStored(Field field, std::optional<std::uint32_t> value);

// One line per field that the write changes, in field order:
// "接口速率：4800 → 9600".
QStringList changes(const protocol::ParameterReply &stored, const Parameters &target);

// The reply as one line of JSON in field order, the form --profile takes:
// {"tx_hz": 433000, …, "parity": "odd"}; null for what the reply lacks.
QString profileJson(const protocol::ParameterReply &reply);

// One entry per field that reads back other than written, naming it and
// both values.
QStringList differences(const Parameters &written, const protocol::ParameterReply &readBack);

// The line settings the unit moves to when activated: the interface rate and
// parity it stores ("9600,O,8,1"). What it lacks stays as in `current`.
QString settingsAfterActivation(const protocol::ParameterReply &stored, const QString &current);
