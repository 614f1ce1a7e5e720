#include "form1.h"

#include "portmap.h"
#include "qtmessagebox.h"
#include "qtseriallink.h"
#include "qttimer.h"

#include <QDesktopServices>

Form1Seams Form1Seams::forDesktop(int tickMs)
{
    Form1Seams seams;
    const auto portMap = [](int n) { return resolveComPort(n); };
    seams.MSComm1 = std::make_unique<QtSerialLink>(portMap);
    seams.Timer1 = std::make_unique<QtTimer>(tickMs);
    seams.Timer2 = std::make_unique<QtTimer>(tickMs);
    seams.messages = std::make_unique<QtMessageBox>();
    seams.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    seams.portDevice = portMap;
    return seams;
}
