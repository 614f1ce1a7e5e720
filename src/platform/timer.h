#pragma once

#include <QObject>

#include <functional>

// A window timer as the handlers use it: enabled or not, and a tick.
class Timer
{
public:
    virtual ~Timer() = default;
    // Enabling a running timer keeps its period going.
    virtual void setEnabled(bool enabled) = 0;

    std::function<void()> onTimer;
};

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
