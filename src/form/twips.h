#pragma once

// Both windows were laid out in twips: 15 to a pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;

// Twips to device-independent pixels, rounded to the nearest.
constexpr int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
