#include "app/artwork.h"

#include <QColor>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

#include <algorithm>

namespace {

// The emblem is designed on a 32 x 32 grid and scaled to the size asked for.
constexpr qreal kEmblemGrid = 32.0;

constexpr QColor kDiscBlue(0x1f, 0x4e, 0xb4);
constexpr QColor kDiscRim(0x12, 0x32, 0x7a);

// Lamp colours from the classic 16-colour palette, so the pictures still
// read well on a reduced-colour display.
struct LampColours {
    Lamp lamp;
    qreal centreY;
    QColor lit;
    QColor unlit;
};

constexpr qreal kLampX = 16.0;
constexpr qreal kLampRadius = 4.0;

constexpr LampColours kLamps[] = {
    {Lamp::Red, 7.0, QColor(0xff, 0x00, 0x00), QColor(0x80, 0x00, 0x00)},
    {Lamp::Yellow, 16.0, QColor(0xff, 0xff, 0x00), QColor(0x80, 0x80, 0x00)},
    {Lamp::Green, 25.0, QColor(0x00, 0xff, 0x00), QColor(0x00, 0x80, 0x00)},
};

constexpr QColor kLitRim(0xc0, 0xc0, 0xc0);

} // namespace

QPixmap emblemPixmap(int size)
{
    // A nonsensical size still yields a usable (tiny) picture.
    const int side = size > 0 ? size : 1;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / kEmblemGrid, side / kEmblemGrid);

    p.setPen(QPen(kDiscRim, 1.0));
    p.setBrush(kDiscBlue);
    p.drawEllipse(QRectF(0.5, 0.5, 31.0, 31.0));

    // The mast: an A-frame tower with one cross brace.
    QPen mast(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(mast);
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(16.0, 12.0), QPointF(11.0, 27.0));
    p.drawLine(QPointF(16.0, 12.0), QPointF(21.0, 27.0));
    p.drawLine(QPointF(13.0, 21.0), QPointF(19.0, 21.0));
    p.drawLine(QPointF(16.0, 12.0), QPointF(16.0, 27.0));

    // The radiator at the top of the mast.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16.0, 10.0), 2.2, 2.2);

    // Two waves on each side, centred on the radiator.
    QPen wave(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(wave);
    p.setBrush(Qt::NoBrush);
    for (qreal r : {5.0, 8.5}) {
        const QRectF box(16.0 - r, 10.0 - r, 2 * r, 2 * r);
        // Qt angles are in 1/16 degree, counter-clockwise from three o'clock.
        p.drawArc(box, -40 * 16, 80 * 16);
        p.drawArc(box, 140 * 16, 80 * 16);
    }
    return pixmap;
}

namespace {

// Draws the emblem when a size is asked for, not up front: most systems
// ask for one or two sizes of a window icon, some for none.
class EmblemIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return emblemPixmap(std::min(size.width(), size.height()));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64), QSize(256, 256)};
    }
    QIconEngine *clone() const override { return new EmblemIconEngine; }
};

} // namespace

QIcon emblemIcon()
{
    return QIcon(new EmblemIconEngine);
}

QPixmap lampPixmap(Lamp lamp)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(9.0, 1.0, 14.0, 30.0), 3.0, 3.0);

    for (const LampColours &c : kLamps) {
        const bool lit = c.lamp == lamp;
        p.setPen(lit ? QPen(kLitRim, 1.0) : Qt::NoPen);
        p.setBrush(lit ? c.lit : c.unlit);
        p.drawEllipse(QPointF(kLampX, c.centreY), kLampRadius, kLampRadius);
    }
    return pixmap;
}
