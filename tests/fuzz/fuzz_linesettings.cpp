// Any text as line settings: none, or settings that read back the same once
// written out; every setting the detection scan tries is among them.

#include "fuzzcheck.h"
#include "platform/linesettings.h"
#include "protocol/scansettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<LineSettings> line = parseLineSettings(text);
    FUZZ_CHECK(line || !protocol::scanPosition(text.toStdString()));
    if (!line)
        return 0;
    FUZZ_CHECK(line->speed > 0 && line->dataBits >= 5 && line->dataBits <= 8 && line->stopBits >= 1 && line->stopBits <= 2);
    const QString written = QStringLiteral("%1,%2,%3,%4").arg(line->speed).arg(QLatin1Char("NOE"[int(line->parity)])).arg(line->dataBits).arg(line->stopBits);
    const std::optional<LineSettings> again = parseLineSettings(written);
    FUZZ_CHECK(again && again->speed == line->speed && again->parity == line->parity && again->dataBits == line->dataBits
               && again->stopBits == line->stopBits);
    return 0;
}
