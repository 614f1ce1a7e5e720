#pragma once

#include <QByteArray>
#include <QtGlobal>

// Sets an environment variable for one test and puts the old value back.
class EnvGuard
{
public:
    explicit EnvGuard(const char *name)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
    {
    }
    ~EnvGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    EnvGuard(const EnvGuard &) = delete;
    EnvGuard &operator=(const EnvGuard &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};
