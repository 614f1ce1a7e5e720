#pragma once

#include "platform/timer.h"

#include <QObject>

class QTimer;

// A Timer over QTimer. Qt does not deliver a timer's tick again while its
// previous tick is still running (a box open inside it), which the failure
// report relies on as well as its own guard.
class QtTimer : public QObject, public Timer
{
    Q_OBJECT

public:
    explicit QtTimer(int intervalMs, QObject *parent = nullptr);

    void setEnabled(bool enabled) override;

private:
    QTimer *m_timer;
};
