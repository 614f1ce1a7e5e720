// Any bytes as the profile of `write --profile`: either five values the
// window would accept, which survive a trip through the unit's frame and a
// saved backup unchanged, or a message that names the file (radioctl then
// exits 1, nothing sent).

#include "fuzzcheck.h"
#include "cli/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const ProfileFile file{QStringLiteral("p.json"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size))};
    const CheckedRequest checked = requestedValues(file, {}, false);
    if (!checked.requested) {
        FUZZ_CHECK(checked.error.startsWith(QLatin1String("p.json")) && checked.error.size() > 8);
        return 0;
    }
    const CheckedParameters target = completed(*checked.requested, protocol::ParameterReply{});
    FUZZ_CHECK(target.parameters);
    const protocol::Bytes frame = parameterFrame(*target.parameters);
    FUZZ_CHECK(frame.size() == protocol::kParameterFrameLength);
    // The backup of a unit that stores these values is a profile for them.
    const QString backup = profileJson(protocol::DecodeParameterReply(frame));
    const CheckedRequest again = requestedValues(ProfileFile{file.name, backup.toUtf8()}, {}, false);
    FUZZ_CHECK(again.requested && *again.requested == *checked.requested);
    return 0;
}
