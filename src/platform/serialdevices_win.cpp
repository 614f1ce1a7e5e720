#include "platform/serialdevices.h"

QMultiHash<QString, QString> stableDeviceNames()
{
    // A COM number is itself what stays: the system keeps it per adapter.
    return {};
}

bool mayListDevice(const QString &)
{
    return true;
}
