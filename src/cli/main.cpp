#include "cli/run.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("radioctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RADIO_SETUP_VERSION));
    return runCommandLine(QCoreApplication::arguments());
}
