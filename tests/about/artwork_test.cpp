#include "artwork.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>

#include <gtest/gtest.h>

namespace {

QColor at(const QPixmap &pixmap, int x, int y)
{
    return pixmap.toImage().pixelColor(x, y);
}

void expectTransparentCorners(const QPixmap &pixmap)
{
    const int last = pixmap.width() - 1;
    EXPECT_EQ(at(pixmap, 0, 0).alpha(), 0);
    EXPECT_EQ(at(pixmap, last, 0).alpha(), 0);
    EXPECT_EQ(at(pixmap, 0, last).alpha(), 0);
    EXPECT_EQ(at(pixmap, last, last).alpha(), 0);
}

// Centres of the three lamps, top to bottom, and their lit and unlit colours.
struct LampSpot {
    Lamp lamp;
    int y;
    QColor bright;
    QColor dark;
};

const LampSpot kSpots[] = {
    {Lamp::Red, 7, QColor(255, 0, 0), QColor(128, 0, 0)},
    {Lamp::Yellow, 16, QColor(255, 255, 0), QColor(128, 128, 0)},
    {Lamp::Green, 25, QColor(0, 255, 0), QColor(0, 128, 0)},
};

} // namespace

TEST(LampPicture, Is32PixelsSquareWithTransparentBackground)
{
    for (Lamp lamp : {Lamp::Green, Lamp::Yellow, Lamp::Red}) {
        const QPixmap picture = lampPixmap(lamp);
        EXPECT_EQ(picture.size(), QSize(32, 32));
        expectTransparentCorners(picture);
        // Beside the housing.
        EXPECT_EQ(at(picture, 3, 16).alpha(), 0);
        EXPECT_EQ(at(picture, 28, 16).alpha(), 0);
    }
}

TEST(LampPicture, HousingIsBlack)
{
    for (Lamp lamp : {Lamp::Green, Lamp::Yellow, Lamp::Red}) {
        const QPixmap picture = lampPixmap(lamp);
        EXPECT_EQ(at(picture, 10, 16), QColor(0, 0, 0));
        EXPECT_EQ(at(picture, 16, 1), QColor(0, 0, 0));
        EXPECT_EQ(at(picture, 16, 30), QColor(0, 0, 0));
    }
}

TEST(LampPicture, OnlyTheChosenLampIsBrightTheOthersDark)
{
    for (const LampSpot &lit : kSpots) {
        const QPixmap picture = lampPixmap(lit.lamp);
        for (const LampSpot &spot : kSpots) {
            SCOPED_TRACE(spot.y);
            EXPECT_EQ(at(picture, 16, spot.y), spot.lamp == lit.lamp ? spot.bright : spot.dark);
        }
    }
}

TEST(LampPicture, LitLampHasLightGreyRimUnlitLampsHaveNone)
{
    // Just inside the lamp's edge, below its centre: half rim, half fill.
    for (const LampSpot &lit : kSpots) {
        const QPixmap picture = lampPixmap(lit.lamp);
        for (const LampSpot &spot : kSpots) {
            SCOPED_TRACE(spot.y);
            const QColor edge = at(picture, 16, spot.y - 4);
            if (spot.lamp == lit.lamp) {
                // Grey mixed in lifts every channel well above black.
                EXPECT_GT(edge.red(), 80);
                EXPECT_GT(edge.green(), 80);
                EXPECT_GT(edge.blue(), 80);
            } else {
                EXPECT_LT(edge.blue(), 10);
            }
        }
    }
}

TEST(LampPicture, PicturesDifferFromEachOther)
{
    const QImage green = lampPixmap(Lamp::Green).toImage();
    const QImage yellow = lampPixmap(Lamp::Yellow).toImage();
    const QImage red = lampPixmap(Lamp::Red).toImage();
    EXPECT_NE(green, yellow);
    EXPECT_NE(yellow, red);
    EXPECT_NE(green, red);
}

TEST(Emblem, CornersAreTransparentOutsideTheDisc)
{
    for (int size : {16, 32, 48, 256}) {
        SCOPED_TRACE(size);
        const QPixmap emblem = emblemPixmap(size);
        EXPECT_EQ(emblem.size(), QSize(size, size));
        expectTransparentCorners(emblem);
    }
}

TEST(Emblem, WhiteMastOnBlueDisc)
{
    const QPixmap emblem = emblemPixmap();
    ASSERT_EQ(emblem.size(), QSize(32, 32));
    const QColor blue(0x1f, 0x4e, 0xb4);
    const QColor white(255, 255, 255);
    EXPECT_EQ(at(emblem, 16, 4), blue);  // above the mast
    EXPECT_EQ(at(emblem, 4, 16), blue);  // left of the waves
    EXPECT_EQ(at(emblem, 6, 26), blue);  // beside the tower's foot
    EXPECT_EQ(at(emblem, 16, 10), white); // the radiator
    EXPECT_EQ(at(emblem, 16, 20), white); // the mast
}

TEST(Emblem, LargeSizeIsDrawnNotScaledUp)
{
    const QPixmap emblem = emblemPixmap(256);
    EXPECT_EQ(at(emblem, 128, 32), QColor(0x1f, 0x4e, 0xb4));
    EXPECT_EQ(at(emblem, 128, 80), QColor(255, 255, 255));
    EXPECT_EQ(at(emblem, 128, 160), QColor(255, 255, 255));
}

TEST(Emblem, NonsenseSizeGivesAPictureAnyway)
{
    EXPECT_FALSE(emblemPixmap(0).isNull());
    EXPECT_FALSE(emblemPixmap(-7).isNull());
}

TEST(Emblem, IconCarriesEverySize)
{
    const QIcon icon = emblemIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    EXPECT_EQ(icon.pixmap(32, 32).toImage().pixelColor(16, 4), QColor(0x1f, 0x4e, 0xb4));
}
