// Starts the tool's main window exactly as the tool does and reports how
// long after process start its first frame was painted, then quits.
#include "app/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

// Seconds since this process started, from the kernel's own record.
double secondsSinceProcessStart()
{
    std::ifstream statFile("/proc/self/stat");
    std::string line;
    std::getline(statFile, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
        if (i == 22)
            break;
    }
    const double startTicks = std::stod(field);
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    return uptime - startTicks / double(sysconf(_SC_CLK_TCK));
}

class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            std::printf("time to window shown: %.3f s\n", secondsSinceProcessStart());
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form1 window(Form1Seams::forDesktop());
    FirstPaint probe;
    window.installEventFilter(&probe);
    window.Form_Load();
    window.show();
    return app.exec();
}
