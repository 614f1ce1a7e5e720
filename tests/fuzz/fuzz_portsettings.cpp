// Any text as a --port value and as line settings. A port is the port map's
// COMn or a device that names itself again; settings are none, or read back
// the same once written out, and every setting the scan tries is among them.

#include "fuzzcheck.h"
#include "platform/portsettings.h"
#include "platform/ports.h"
#include "protocol/scanorder.h"

#include <algorithm>

namespace {

void checkPort(const QString &text)
{
    const std::optional<int> com = comPortNumber(text);
    const QString digits = text.mid(3);
    if (com)
        FUZZ_CHECK(text.startsWith(QLatin1String("com"), Qt::CaseInsensitive) && digits.toInt() == *com
                   && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= '0' && c <= '9'; }));
    const std::optional<NamedPort> port = parsePortName(text);
    if (com && *com >= 1 && *com <= kComPortCount)
        FUZZ_CHECK(port && port->comNumber == *com && port->device.isEmpty());
    else if (port)
        FUZZ_CHECK(port->comNumber == 0 && !port->device.isEmpty() && port->name == port->device
                   && parsePortName(port->device)->device == port->device);
}

void checkSettings(const QString &text)
{
    const std::optional<PortSettings> line = parsePortSettings(text);
    FUZZ_CHECK(line || !protocol::scanPosition(text.toStdString()));
    if (!line)
        return;
    FUZZ_CHECK(line->speed > 0 && line->dataBits >= 5 && line->dataBits <= 8 && line->stopBits >= 1 && line->stopBits <= 2);
    const std::optional<PortSettings> again = parsePortSettings(
        QStringLiteral("%1,%2,%3,%4").arg(line->speed).arg(QLatin1Char("NOE"[int(line->parity)])).arg(line->dataBits).arg(line->stopBits));
    FUZZ_CHECK(again && again->speed == line->speed && again->parity == line->parity && again->dataBits == line->dataBits
               && again->stopBits == line->stopBits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkPort(text);
    checkSettings(text);
    return 0;
}
