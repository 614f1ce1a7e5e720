#include "artwork.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QColor kBlue(0x1f, 0x4e, 0xb4);
const QColor kWhite(255, 255, 255);

void expectTransparentCorners(const QImage &image)
{
    const int last = image.width() - 1;
    for (const QPoint &p : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        EXPECT_EQ(image.pixelColor(p).alpha(), 0) << p.x() << "," << p.y();
}

} // namespace

TEST(LampPicture, OnlyTheChosenLampIsLitInABlackHousingOnTransparency)
{
    // Centres of the three lamps, top to bottom, and their lit and unlit colours.
    const struct {
        Lamp lamp;
        int y;
        QColor bright, dark;
    } spots[] = {
        {Lamp::Red, 7, QColor(255, 0, 0), QColor(128, 0, 0)},
        {Lamp::Yellow, 16, QColor(255, 255, 0), QColor(128, 128, 0)},
        {Lamp::Green, 25, QColor(0, 255, 0), QColor(0, 128, 0)},
    };
    for (const auto &lit : spots) {
        SCOPED_TRACE(lit.y);
        const QImage picture = lampPixmap(lit.lamp).toImage();
        ASSERT_EQ(picture.size(), QSize(32, 32));
        expectTransparentCorners(picture);
        EXPECT_EQ(picture.pixelColor(3, 16).alpha(), 0); // beside the housing
        EXPECT_EQ(picture.pixelColor(28, 16).alpha(), 0);
        for (const QPoint &p : {QPoint(10, 16), QPoint(16, 1), QPoint(16, 30)})
            EXPECT_EQ(picture.pixelColor(p), QColor(0, 0, 0)) << p.x() << "," << p.y();
        for (const auto &spot : spots) {
            SCOPED_TRACE(spot.y);
            const bool on = spot.lamp == lit.lamp;
            EXPECT_EQ(picture.pixelColor(16, spot.y), on ? spot.bright : spot.dark);
            // Just inside the lamp's edge: a lit lamp's light grey rim lifts
            // every channel well above black; an unlit lamp has none.
            const QColor edge = picture.pixelColor(16, spot.y - 4);
            if (on) {
                EXPECT_GT(edge.red(), 80);
                EXPECT_GT(edge.green(), 80);
                EXPECT_GT(edge.blue(), 80);
            } else {
                EXPECT_LT(edge.blue(), 10);
            }
        }
    }
}

TEST(Emblem, WhiteMastOnABlueDiscWithTransparentCornersAtEverySize)
{
    const struct {
        int size;
        std::vector<std::pair<QPoint, QColor>> spots;
    } cases[] = {
        {16, {}},
        {32,
         {{{16, 4}, kBlue}, {{4, 16}, kBlue}, {{6, 26}, kBlue}, {{16, 10}, kWhite}, {{16, 20}, kWhite}}},
        {48, {}},
        // Drawn at that size, not scaled up.
        {256, {{{128, 32}, kBlue}, {{128, 80}, kWhite}, {{128, 160}, kWhite}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        const QImage emblem = emblemPixmap(c.size).toImage();
        ASSERT_EQ(emblem.size(), QSize(c.size, c.size));
        expectTransparentCorners(emblem);
        for (const auto &[p, colour] : c.spots)
            EXPECT_EQ(emblem.pixelColor(p), colour) << p.x() << "," << p.y();
    }
    EXPECT_EQ(emblemPixmap().size(), QSize(32, 32));
    EXPECT_FALSE(emblemPixmap(0).isNull());
    EXPECT_FALSE(emblemPixmap(-7).isNull());
}

TEST(Emblem, IconCarriesEverySize)
{
    const QIcon icon = emblemIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_EQ(icon.pixmap(32, 32).toImage().pixelColor(16, 4), kBlue);
}
