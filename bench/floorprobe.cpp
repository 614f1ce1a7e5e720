// The floor for startup_probe: a bare Qt Widgets window of the tool's size
// with the same number and kinds of controls and the same Chinese captions
// and list items, and nothing behind them: no serial port, no handlers, no
// artwork, no colours or fonts of its own.
#include "app/form1layout.h"
#include "firstpaint.h"
#include "form/twips.h"
#include "words/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

using namespace form1layout;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Ostrevi电台参数设置软件"));
    window.setFixedSize(px(kClientWidth), px(kClientHeight));

    QHash<QString, QWidget *> frames;
    for (const ControlRow &row : kControls) {
        QWidget *parent = row.container == Container::Frame1   ? frames.value(QStringLiteral("Frame1"))
                          : row.container == Container::Frame2 ? frames.value(QStringLiteral("Frame2"))
                                                               : &window;
        const QString caption = QString::fromUtf8(row.caption);
        QWidget *w = nullptr;
        switch (row.kind) {
        case Kind::Frame:
            w = new QGroupBox(caption, parent);
            frames.insert(QString::fromUtf8(row.name), w);
            break;
        case Kind::Button:
            w = new QPushButton(caption, parent);
            break;
        case Kind::Label:
        case Kind::Picture:
            w = new QLabel(caption, parent);
            break;
        case Kind::List: {
            auto *combo = new QComboBox(parent);
            if (row.items == Items::Ports) {
                for (int n = 1; n <= 16; ++n)
                    combo->addItem(QStringLiteral("COM%1").arg(n));
            } else if (row.items == Items::Rates) {
                for (const char *rate : words::kRates)
                    combo->addItem(QString::fromUtf8(rate));
            } else {
                for (const char *parity : words::kParities)
                    combo->addItem(QString::fromUtf8(parity));
            }
            w = combo;
            break;
        }
        case Kind::Box:
            w = new QLineEdit(caption, parent);
            break;
        case Kind::StatusBar: {
            auto *bar = new QStatusBar(parent);
            bar->addWidget(new QLabel(bar));
            w = bar;
            break;
        }
        }
        w->setGeometry(px(row.left), px(row.top), px(row.width), px(row.height));
    }

    bench::FirstPaint probe;
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
