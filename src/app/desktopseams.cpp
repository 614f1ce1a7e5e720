#include "form1.h"

#include "portmap.h"
#include "qtmessagebox.h"
#include "qtseriallink.h"
#include "qttimer.h"

#include <QDesktopServices>

Form1Seams Form1Seams::forDesktop(int tickMs)
{
    Form1Seams seams;
    seams.MSComm1 = std::make_unique<QtSerialLink>(resolveComPort);
    seams.Timer1 = std::make_unique<QtTimer>(tickMs);
    seams.Timer2 = std::make_unique<QtTimer>(tickMs);
    seams.messages = std::make_unique<QtMessageBox>();
    seams.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    seams.portDevice = resolveComPort;
    return seams;
}
