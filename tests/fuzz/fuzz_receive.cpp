// Arbitrary byte streams, cut into receptions, through the reply judge.
// Input: repeated [header][bytes...]; the header gives the reception's
// length (and, in the mixed pass, the request in flight). Every invariant
// the window relies on is checked after each reception; a violation aborts.

#include "fuzzcheck.h"
#include "protocol/parameterreply.h"
#include "protocol/replyjudge.h"

using protocol::Bytes;
using protocol::Operation;
using protocol::Verdict;

namespace {

constexpr Operation kOperations[] = {Operation::None, Operation::Handshake, Operation::Read,
                                     Operation::Write, Operation::Activate};

// mixed: the header's low bits also pick the request in flight, as when a
// new request goes out while a reply is half gathered.
void run(const std::uint8_t *data, std::size_t size, Operation fixed, bool mixed)
{
    protocol::ReceiveBuffer buffer;
    Bytes held; // what the buffer should hold: receptions since the last reset
    std::size_t at = 0;
    while (at < size) {
        const std::uint8_t header = data[at++];
        const Operation op = mixed ? kOperations[header % 5] : fixed;
        const std::size_t wanted = mixed ? header / 5u : header;
        const std::size_t length = wanted < size - at ? wanted : size - at;
        const Bytes input(data + at, data + at + length);
        at += length;

        Bytes accepted;
        const protocol::ReceiveBuffer before = buffer;
        const Verdict v = protocol::receive(buffer, input, op, &accepted);

        FUZZ_CHECK(buffer.RxBuffer.size() <= std::size_t(protocol::kMaxHeld));
        if (input.empty()) {
            // Nothing arrived: nothing may change, stale bytes included.
            FUZZ_CHECK(v == Verdict::Gathering && buffer.RxBuffer == before.RxBuffer);
            continue;
        }
        held.insert(held.end(), input.begin(), input.end());
        if (v == Verdict::Gathering) {
            FUZZ_CHECK(buffer.RxBuffer == held);
        } else {
            FUZZ_CHECK(buffer.RxBuffer.empty() && (v == Verdict::ParametersRead ? accepted == held : accepted.empty()));
            held.clear();
        }
        // Whatever the buffer holds now may be decoded; it must never read past it.
        (void)protocol::DecodeParameterReply(buffer.RxBuffer);
        (void)protocol::DecodeParameterReply(accepted);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    for (Operation op : kOperations)
        run(data, size, op, false);
    run(data, size, Operation::None, true);
    return 0;
}
