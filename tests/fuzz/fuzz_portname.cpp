// Any text after --port: the port map's COMn, a device, or none; never a
// device named for a COMn or an empty one.

#include "fuzzcheck.h"
#include "platform/portmap.h"
#include "platform/portname.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<int> com = comPortNumber(text);
    const QString digits = text.mid(3);
    if (com)
        FUZZ_CHECK(text.startsWith(QLatin1String("com"), Qt::CaseInsensitive) && digits.toInt() == *com
                   && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; }));
    const std::optional<NamedPort> port = parsePortName(text);
    if (com && *com >= 1 && *com <= kComPortCount) {
        FUZZ_CHECK(port && port->comNumber == *com && port->device.isEmpty());
        return 0;
    }
    if (!port)
        return 0;
    FUZZ_CHECK(port->comNumber == 0 && !port->device.isEmpty() && port->name == port->device);
    // What the device is called names the same device again.
    const std::optional<NamedPort> again = parsePortName(port->device);
    FUZZ_CHECK(again && again->device == port->device);
    return 0;
}
