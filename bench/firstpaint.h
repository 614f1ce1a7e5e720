#pragma once

// What both start-up probes report: how long after the launch the window's
// first frame was painted, and the peak resident memory by then. Then the
// probe quits.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace bench {

// Seconds since the launch: since BENCH_T0 (the shell's $EPOCHREALTIME just
// before it started the probe) when given, else since the process started,
// from the kernel's record, which counts in 10 ms steps.
inline double secondsSinceLaunch()
{
    timespec now{};
    if (const QByteArray t0 = qgetenv("BENCH_T0"); !t0.isEmpty()) {
        ::clock_gettime(CLOCK_REALTIME, &now);
        return double(now.tv_sec) + double(now.tv_nsec) / 1e9 - t0.toDouble();
    }
    std::ifstream statFile("/proc/self/stat");
    std::string line;
    std::getline(statFile, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i) // field 22: the start time, in clock ticks
        fields >> field;
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - std::stod(field) / double(sysconf(_SC_CLK_TCK));
}

inline long peakResidentKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Reported once the whole frame is painted: the window's own
            // paint event comes before its controls'.
            QTimer::singleShot(0, qApp, [] {
                std::printf("first paint: %.4f s, peak resident: %ld KiB\n", secondsSinceLaunch(),
                            peakResidentKiB());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace bench
