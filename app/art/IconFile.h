// Writers for the application icon (.ico) and the help dialog's picture (.bmp), in the byte
// layouts the Windows resource compiler reads. Portable: the images are made on any build host.
#pragma once

#include "board/core/Raster.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tessarline {

// One image of an icon: a square of `size` pixels with a palette of 2^bitsPerPixel colours.
struct IconImage {
    int size;
    int bitsPerPixel; // 1, 4 or 8
};

// The application icon's images, in the order they are stored.
inline constexpr std::array<IconImage, 5> kAppIconImages{{
    {32, 4},
    {16, 4},
    {32, 8},
    {32, 1},
    {48, 8},
}};

// The help dialog's picture of the figure: 50 by 50 pixels, 24 bits per pixel.
inline constexpr int kFigurePictureSize = 50;

// The palette an image of the given depth is stored with: black and white; the 16 standard
// colours; or those 16, a 6x6x6 colour cube and 24 greys.
std::vector<Pixel> IconPalette(int bitsPerPixel);

// One icon image as stored in a .ico file: its header, palette, colour bits and an AND mask
// of zeros (every pixel opaque). Colours become their nearest palette entries.
std::vector<std::uint8_t> EncodeIconImage(const PixelBuffer& image, int bitsPerPixel);

// A whole .ico file: the directory, then each image.
std::vector<std::uint8_t> EncodeIconFile(std::span<const PixelBuffer> images,
                                         std::span<const IconImage> formats);

// A 24-bit .bmp file of the image, rows stored bottom-up.
std::vector<std::uint8_t> EncodeBmpFile(const PixelBuffer& image);

// The application icon: the figure at each size of kAppIconImages.
std::vector<std::uint8_t> MakeAppIcon();

// The help dialog's picture of the figure.
std::vector<std::uint8_t> MakeFigurePicture();

} // namespace tessarline
