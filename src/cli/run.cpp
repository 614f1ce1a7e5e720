#include "cli/run.h"

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/failure.h"
#include "cli/output.h"
#include "platform/console.h"

#include <QCoreApplication>

namespace {

struct Dispatch {
    Command command;
    int (*run)(const Invocation &);
};

constexpr Dispatch kDispatch[] = {
    {Command::Ports, listPorts},   {Command::Detect, detectUnit},     {Command::Read, readUnit},
    {Command::Write, writeUnit},   {Command::Activate, activateUnit}, {Command::Find, findUnits},
};

} // namespace

int runCommandLine(const QStringList &arguments)
{
    setUpConsole();
    const ParsedArguments parsed = parseArguments(arguments);
    if (parsed.help) {
        printData(helpText());
        return exitcode::kDone;
    }
    if (parsed.version) {
        printData(QStringLiteral("radioctl ") + QCoreApplication::applicationVersion());
        return exitcode::kDone;
    }
    if (!parsed.invocation) {
        printMessage(QStringLiteral("radioctl：%1\n用 radioctl --help 查看用法。").arg(parsed.error));
        return exitcode::kBadInput;
    }
    try {
        for (const Dispatch &d : kDispatch) {
            if (d.command == parsed.invocation->command)
                return d.run(*parsed.invocation);
        }
    } catch (const Failure &failure) {
        printMessage(failure.message);
        return failure.code;
    }
    return exitcode::kBadInput;
}
