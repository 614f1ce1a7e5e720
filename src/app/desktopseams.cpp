#include "app/form1.h"

#include "platform/ports.h"
#include "platform/qtmessagebox.h"
#include "platform/qtseriallink.h"
#include "platform/timer.h"

#include <QDesktopServices>

namespace {

// Both timers of the window tick every half second.
constexpr int kTickMs = 500;

} // namespace

Form1Seams Form1Seams::forDesktop()
{
    Form1Seams seams;
    // Asking the system to describe its serial devices takes a while: it
    // runs in the background once the window is up.
    seams.ports = std::make_shared<PortMap>();
    seams.ports->refreshInBackground();
    seams.MSComm1 = std::make_unique<QtSerialLink>(
        [ports = seams.ports](int n) { return ports->resolve(n); });
    seams.Timer1 = std::make_unique<QtTimer>(kTickMs);
    seams.Timer2 = std::make_unique<QtTimer>(kTickMs);
    seams.messages = std::make_unique<QtMessageBox>();
    seams.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return seams;
}
