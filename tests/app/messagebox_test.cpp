// The tool's message box as met by a user who clicks "确定" once it is drawn.
#include "platform/qtmessagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>

#include <gtest/gtest.h>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// Fusion draws no icons on dialog buttons; a desktop's theme does, and those
// were the pixmaps that piled up box after box.
class ButtonIconsStyle : public QProxyStyle
{
public:
    ButtonIconsStyle() : QProxyStyle(QStringLiteral("fusion")) {}
    int styleHint(StyleHint hint, const QStyleOption *o, const QWidget *w, QStyleHintReturn *r) const override
    { return hint == SH_DialogButtonBox_ButtonsHaveIcons ? 1 : QProxyStyle::styleHint(hint, o, w, r); }
};

class Reader : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QPushButton *>(watched);
        if (auto *box = button ? qobject_cast<QMessageBox *>(button->window()) : nullptr;
            box && event->type() == QEvent::Paint) {
            seen = {box->windowTitle(), box->text(), QString::number(box->buttons().size()), button->text(),
                    QString::number(box->icon())};
            icon = button->icon().pixmap(16).toImage();
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        }
        return false;
    }
    QStringList seen; // title, text, number of buttons, the button's text, the box's icon
    QImage icon;
};

} // namespace

TEST(QtMessageBox, ShowsOneOkButtonWithTheStylesIconAndBoxesAllDayLeaveTheHeapAsItWas)
{
    const auto heapInUse = [] {
#if defined(__SANITIZE_ADDRESS__)
        return __sanitizer_get_current_allocated_bytes();
#else
        return mallinfo2().uordblks;
#endif
    };
    Reader reader;
    qApp->installEventFilter(&reader);
    QtMessageBox boxes;
    boxes.show(QStringLiteral("写入不成功!"), QStringLiteral("Ostrevi电台参数设置程序"), MessageIcon::Critical);
    EXPECT_EQ(reader.seen, (QStringList{"Ostrevi电台参数设置程序", "写入不成功!", "1", "确定", "3"}));
    EXPECT_TRUE(reader.icon.isNull()); // Fusion's own: no icon

    QApplication::setStyle(new ButtonIconsStyle);
    const auto show = [&](int n) {
        for (int i = 0; i < n; ++i)
            boxes.show(QStringLiteral("读取完毕！"), {}, MessageIcon::None);
    };
    show(100);
    EXPECT_EQ(reader.seen, (QStringList{" ", "读取完毕！", "1", "确定", "0"}));
    EXPECT_EQ(reader.icon, qApp->style()->standardIcon(QStyle::SP_DialogOkButton).pixmap(16).toImage());
    const std::size_t heap = heapInUse();
    show(1000); // an icon made per box left 1.8 MB behind
    EXPECT_LT(heapInUse(), heap + 256 * 1024);
    QApplication::setStyle(QStringLiteral("fusion"));
}
