// CPU time of a counted detection tick: the real window over the real link,
// COM1 a line on which nothing answers (startup.sh puts a silent radio-sim
// there), Timer1's handler called directly, each tick followed by the event
// loop's work (the probe going out, the lamp and status bar repainted).
#include "app/form1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

class IdleTimer : public Timer
{
public:
    void setEnabled(bool) override {}
};

// "检测不到设备！" would wait for a click; the scan is restarted before it.
class NoBoxes : public MessageBox
{
public:
    void show(const QString &text, const QString &, MessageIcon) override
    {
        std::fprintf(stderr, "unexpected box: %s\n", qPrintable(text));
    }
};

double cpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 2000;

    Form1Seams seams = Form1Seams::forDesktop();
    seams.Timer1 = std::make_unique<IdleTimer>();
    seams.Timer2 = std::make_unique<IdleTimer>();
    seams.messages = std::make_unique<NoBoxes>();
    int opens = 0;
    SerialLink *link = seams.MSComm1.get();
    QObject::connect(link, &SerialLink::opened, link, [&] { ++opens; });
    Form1 window(std::move(seams));
    window.Form_Load();
    window.show();
    QCoreApplication::processEvents();
    if (opens == 0) {
        std::fprintf(stderr, "COM1 did not open\n");
        return 1;
    }

    const auto tick = [&](int n) {
        // The scan gives up on its 42nd unanswered tick.
        if (n % 40 == 0)
            window.Command4_Click();
        window.Timer1_Timer();
        QCoreApplication::processEvents();
    };
    // The first tick after start-up is not a counted one: opening the port
    // at start-up ended any exchange.
    for (int n = 0; n < 40; ++n)
        tick(n);
    opens = 0;
    const double before = cpuSeconds();
    for (int n = 0; n < ticks; ++n)
        tick(n);
    const double spent = cpuSeconds() - before;
    if (opens != ticks) {
        std::fprintf(stderr, "%d of %d ticks reopened the port\n", opens, ticks);
        return 1;
    }
    std::printf("CPU per counted detection tick: %.3f ms (over %d ticks)\n", spent * 1e3 / ticks,
                ticks);
    return 0;
}
