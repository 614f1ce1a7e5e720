#include "about/form2.h"

#include "form/twips.h"
#include "form/uitexts.h"
#include "platform/desktop.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

namespace {

constexpr int kClientWidth = 5595;
constexpr int kClientHeight = 3480;

enum class Kind { Picture, Label, Button };
enum class Face { Default, Title };

struct ControlRow {
    const char *name;
    Kind kind;
    Face face;
    const char *text;
    int left, top, width, height;
};

// Tab order follows the rows; only Command3 takes the focus.
constexpr ControlRow kControls[] = {
    {"Image1", Kind::Picture, Face::Default, "", 555, 345, 480, 480},
    {"Label1", Kind::Label, Face::Title, uitexts::kWindowCaption, 1170, 450, 3900, 285},
    {"Command3", Kind::Button, Face::Default, "确    定", 3870, 2895, 1335, 375},
    {"Label2", Kind::Label, Face::Default, "奥斯特维无线通信有限公司 版权所有 1998-2006",
     623, 1065, 4335, 270},
    {"Label3", Kind::Label, Face::Default, "地址：虚构市示例区电波路88号  邮编：000000",
     375, 1500, 4845, 240},
    {"Label4", Kind::Label, Face::Default, "电话：(000) 5550-1234  (000) 5550-1235",
     375, 1750, 4845, 240},
    {"Label5", Kind::Label, Face::Default, "传真：(000) 5550-1236", 375, 2000, 4845, 240},
    {"Label6", Kind::Label, Face::Default, "国内用户服务电话：800-000-5550",
     375, 2250, 4845, 240},
    {"Label7", Kind::Label, Face::Default, "电子邮件：support@ostrevi.example",
     375, 2500, 4845, 240},
    {"Label8", Kind::Label, Face::Default, "网址：http://www.ostrevi.example",
     375, 2750, 4845, 240},
};

QFont titleFont(QFont font)
{
    font.setFamilies(titleFontFamilies());
    font.setPointSizeF(14.25);
    font.setBold(true);
    return font;
}

} // namespace

Form2::Form2(const QIcon &emblem, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("关于"));
    setWindowIcon(emblem);
    // A title bar with a close box only: no minimise, maximise or help.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(px(kClientWidth), px(kClientHeight));

    for (const ControlRow &row : kControls) {
        QWidget *control = nullptr;
        switch (row.kind) {
        case Kind::Picture: {
            auto *picture = new QLabel(this);
            picture->setPixmap(emblem.pixmap(32, 32));
            picture->setScaledContents(true);
            control = picture;
            break;
        }
        case Kind::Label: {
            auto *label = new QLabel(QString::fromUtf8(row.text), this);
            label->setTextFormat(Qt::PlainText);
            if (row.face == Face::Title)
                label->setFont(titleFont(label->font()));
            control = label;
            break;
        }
        case Kind::Button:
            Command3 = new QPushButton(QString::fromUtf8(row.text), this);
            control = Command3;
            break;
        }
        control->setObjectName(QString::fromLatin1(row.name));
        control->setGeometry(px(row.left), px(row.top), px(row.width), px(row.height));
        if (control != Command3)
            control->setFocusPolicy(Qt::NoFocus);
    }

    Command3->setDefault(true);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    // Without a parent QDialog centres itself on the screen when shown.
}

void Form2::Command3_Click()
{
    accept();
}

void showAboutWindow(const QIcon &emblem)
{
    // A new window each time, gone when exec() returns: nothing carries over.
    Form2 form(emblem);
    form.exec();
}
