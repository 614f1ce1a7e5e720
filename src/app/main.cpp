#include "app/form1.h"
#include "platform/desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("radio-setup"));
    // Wayland matches the window to its menu entry (name, icon) by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.ostrevi.radio_setup"));

    // Qt's own texts (the edit boxes' context menu) in Chinese as well.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // Chinese text in a Chinese face the system has, at the default size.
    if (const QStringList faces = textFontFamilies(); !faces.isEmpty()) {
        QFont font = QApplication::font();
        font.setFamilies(faces);
        QApplication::setFont(font);
    }

    Form1 window(Form1Seams::forDesktop());
    window.Form_Load();
    window.show();
    return app.exec();
}
