// Any text as a --port value and as line settings. A port is the port map's
// COMn or a device that names itself again; settings are none, or read back
// the same once written out, and every setting the scan tries is among them.

#include "fuzzcheck.h"
#include "platform/ports.h"
#include "platform/portsettings.h"
#include "protocol/scanorder.h"

namespace {

void checkPort(const QString &text)
{
    const std::optional<NamedPort> port = parsePortName(text);
    if (port && port->comNumber == 0)
        FUZZ_CHECK(!port->device.isEmpty() && parsePortName(port->device)->device == port->device);
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
