#pragma once

#include "cli/detection.h"
#include "cli/profile.h"
#include "platform/ports.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>

enum class Command { Ports, Detect, Read, Write, Activate, Find };

// One run of radioctl as its command line asks for it. Values are checked
// here except the five parameters, which are checked together with the
// profile they override.
struct Invocation {
    Command command = Command::Detect;
    NamedPort port{QStringLiteral("COM1"), 1, {}};
    int timeoutMs = 1000;
    int probeMarginMs = kDefaultProbeMarginMs;
    bool trace = false;
    bool json = false;
    std::optional<QString> settings; // one of the scan's settings, upper case
    std::optional<QString> profile;  // path of the profile file
    std::map<Field, QString> values; // --tx … --parity as given
    bool peer = false;
    bool verify = true;
    bool force = false;  // write even when nothing would change
    bool dryRun = false; // read and list the changes, write nothing
    bool follow = false;
    bool all = false; // find: on-board ports too
};

struct ParsedArguments {
    std::optional<Invocation> invocation; // none: help, version or error
    bool help = false;
    bool version = false;
    QString error; // bad usage, in Chinese
};

// `arguments` includes the program name first, as QCoreApplication gives it.
ParsedArguments parseArguments(const QStringList &arguments);

// The Chinese help: commands, options, exit codes.
QString helpText();
