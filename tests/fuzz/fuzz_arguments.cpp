// Any argument vector (the input split at each zero byte) for radioctl:
// help, the version, a run whose values are all in range, or a message in
// the tool's words (radioctl then exits 1, nothing sent).

#include "fuzzcheck.h"
#include "cli/arguments.h"
#include "protocol/scansettings.h"

#include <algorithm>

namespace {

// The message says in Chinese what is wrong: more than the arguments it
// quotes, and never a bare message of Qt's parser.
bool inOwnWords(QString error, const QStringList &arguments)
{
    for (const QString &argument : arguments)
        error.remove(argument);
    return std::any_of(error.begin(), error.end(), [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QStringList arguments{QStringLiteral("radioctl")};
    for (const QByteArray &argument : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(argument);
    const ParsedArguments parsed = parseArguments(arguments);
    FUZZ_CHECK(int(parsed.help) + int(parsed.version) + int(parsed.invocation.has_value()) + int(!parsed.error.isEmpty()) == 1);
    if (!parsed.error.isEmpty())
        FUZZ_CHECK(inOwnWords(parsed.error, arguments));
    if (!parsed.invocation)
        return 0;
    const Invocation &run = *parsed.invocation;
    const NamedPort &port = run.port;
    FUZZ_CHECK(port.comNumber >= 1 ? port.device.isEmpty() && port.name == QStringLiteral("COM%1").arg(port.comNumber)
                                   : !port.device.isEmpty() && port.name == port.device);
    FUZZ_CHECK(run.timeoutMs >= 1 && run.timeoutMs <= 600000 && run.probeMarginMs >= 0 && run.probeMarginMs <= 60000);
    FUZZ_CHECK(!run.settings || protocol::scanPosition(run.settings->toStdString()));
    // The five values are checked with the profile; an error names the option.
    const CheckedRequest checked = requestedValues(std::nullopt, run.values, run.peer);
    FUZZ_CHECK(checked.requested || (checked.error.startsWith(QLatin1String("--")) && inOwnWords(checked.error, arguments)));
    return 0;
}
