#include "platform/portmap.h"

std::optional<QString> knownComPort(int n)
{
    return QStringLiteral("\\\\.\\COM%1").arg(n);
}

std::optional<QString> resolveComPort(int n, const QStringList &)
{
    if (n < 1 || n > kComPortCount)
        return std::nullopt;
    return knownComPort(n);
}
