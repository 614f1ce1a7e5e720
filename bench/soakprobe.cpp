// Not a test: the real window over the real link through a day's exchanges
// with the unit on COM1 (soak.sh puts radio-sim there): reads and writes of
// new frequencies in turn, each box closed with a click on "确定" once it has
// been drawn, as a technician would. Prints the resident memory every 1,000
// exchanges, and how much it grew after the first 1,000.
//   soak_probe [exchanges]   (10000)
#include "app/form1.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

// From the kernel's record; a program under wine reaches the same file
// through the drive wine maps to the root.
double residentMiB()
{
    for (const char *path : {"/proc/self/status", "Z:/proc/self/status"}) {
        QFile status(QString::fromLatin1(path));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    }
    return -1;
}

class Technician : public QObject
{
public:
    Technician(Form1 &window, int exchanges) : m_window(window), m_exchanges(exchanges)
    {
        m_stall.setSingleShot(true);
        m_stall.setInterval(30000);
        connect(&m_stall, &QTimer::timeout, this, [this] { stop(2, "no box for 30 s"); });
        m_stall.start();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (auto *button = qobject_cast<QPushButton *>(watched);
            button && event->type() == QEvent::Paint && qobject_cast<QMessageBox *>(button->window()))
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        if (auto *box = qobject_cast<QMessageBox *>(watched); box && event->type() == QEvent::Hide)
            closed(box->text());
        return false;
    }

    int result = 0;

private:
    // The start-up read's box comes first; then a read, a write, and so on.
    void closed(const QString &text)
    {
        const bool wrote = m_done > 0 && m_done % 2 == 0;
        if (text != QString::fromUtf8(wrote ? "写入成功！" : "读取完毕！"))
            return stop(1, qPrintable(QStringLiteral("unexpected box: ") + text));
        m_stall.start();
        if (m_done > 0 && m_done % 1000 == 0) {
            const double now = residentMiB();
            if (m_done == 1000)
                m_atFirstThousand = now;
            std::printf("%5d exchanges: resident %.2f MiB\n", m_done, now);
            std::fflush(stdout);
        }
        if (m_done == m_exchanges) {
            if (m_exchanges < 2000)
                return stop(0, nullptr);
            const double growth = residentMiB() - m_atFirstThousand;
            std::printf("growth after the first 1000: %.2f MiB\n", growth);
            return stop(growth < 1.0 ? 0 : 3, nullptr);
        }
        ++m_done;
        QTimer::singleShot(0, this, [this] { m_done % 2 ? m_window.Command1_Click() : write(); });
    }

    void write()
    {
        const int step = m_done % 1000;
        m_window.setText(TextControl::Text1, QString::number(433000000 + 12500 * step));
        m_window.setText(TextControl::Text2, QString::number(434000000 + 12500 * step));
        m_window.Command2_Click();
    }

    void stop(int code, const char *why)
    {
        if (why)
            std::fprintf(stderr, "soak: %s after %d exchanges\n", why, m_done);
        result = code;
        QCoreApplication::exit(code);
    }

    Form1 &m_window;
    const int m_exchanges;
    int m_done = 0;
    double m_atFirstThousand = 0;
    QTimer m_stall;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form1 window(Form1Seams::forDesktop());
    Technician technician(window, argc > 1 ? std::atoi(argv[1]) : 10000);
    app.installEventFilter(&technician);
    window.Form_Load();
    window.show();
    return app.exec();
}
