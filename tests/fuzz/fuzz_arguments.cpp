// Any argument vector (the input split at each zero byte) for radioctl:
// help, the version, a run whose values are all in range, or a message in
// the tool's words (radioctl then exits 1, nothing sent).

#include "fuzzcheck.h"
#include "cli/arguments.h"
#include "protocol/scanorder.h"

#include <QRegularExpression>

namespace {

// In the tool's words, never Qt's parser's English: a Chinese sentence, or
// one about an option, which it names first.
bool inOwnWords(const QString &error)
{
    static const QRegularExpression own(QStringLiteral("^([\\x{4E00}-\\x{9FFF}]|--[a-z-]+[ （])"));
    return own.match(error).hasMatch();
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
        FUZZ_CHECK(inOwnWords(parsed.error));
    if (!parsed.invocation)
        return 0;
    const Invocation &run = *parsed.invocation;
    FUZZ_CHECK(!run.settings || protocol::scanPosition(run.settings->toStdString()));
    // The five values are checked with the profile; an error names the option.
    const CheckedRequest checked = requestedValues(std::nullopt, run.values, run.peer);
    FUZZ_CHECK(checked.requested || inOwnWords(checked.error));
    return 0;
}
