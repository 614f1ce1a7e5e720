#include "platform/timer.h"

#include <QTimer>

QtTimer::QtTimer(int intervalMs, QObject *parent)
    : QObject(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        if (onTimer)
            onTimer();
    });
}

void QtTimer::setEnabled(bool enabled)
{
    if (enabled == m_timer->isActive())
        return;
    if (enabled)
        m_timer->start();
    else
        m_timer->stop();
}
