// Starts the tool's main window exactly as the tool does, reports its first
// paint (firstpaint.h) and quits.
#include "app/form1.h"
#include "firstpaint.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form1 window(Form1Seams::forDesktop());
    bench::FirstPaint probe;
    window.installEventFilter(&probe);
    window.Form_Load();
    window.show();
    return app.exec();
}
