#include "app/art/IconFile.h"

#include <limits>
#include <stdexcept>

namespace tessarline {

namespace {

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kIconDirSize = 6;
constexpr std::uint32_t kIconEntrySize = 16;
// 96 dots per inch.
constexpr std::int32_t kPixelsPerMetre = 3780;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFFu));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFFu));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFFu);
    Put16(out, v >> 16);
}

// Bytes per stored row: rows are padded to whole 32-bit words.
std::uint32_t Stride(int width, int bitsPerPixel) {
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31) /
            32) *
           4;
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bitsPerPixel,
                   std::uint32_t imageBytes, std::uint32_t coloursUsed) {
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1); // planes
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0); // uncompressed
    Put32(out, imageBytes);
    Put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    Put32(out, static_cast<std::uint32_t>(kPixelsPerMetre));
    Put32(out, coloursUsed);
    Put32(out, 0); // all colours important
}

int RedOfPixel(Pixel p) {
    return static_cast<int>((p >> 16) & 0xFFu);
}
int GreenOfPixel(Pixel p) {
    return static_cast<int>((p >> 8) & 0xFFu);
}
int BlueOfPixel(Pixel p) {
    return static_cast<int>(p & 0xFFu);
}

std::size_t NearestIndex(const std::vector<Pixel>& palette, Pixel p) {
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = RedOfPixel(palette[i]) - RedOfPixel(p);
        const int dg = GreenOfPixel(palette[i]) - GreenOfPixel(p);
        const int db = BlueOfPixel(palette[i]) - BlueOfPixel(p);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

Pixel Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

} // namespace

std::vector<Pixel> IconPalette(int bitsPerPixel) {
    if (bitsPerPixel == 1) {
        return {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    }
    std::vector<Pixel> palette{
        Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
        Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
        Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
        Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255),
    };
    if (bitsPerPixel == 4) {
        return palette;
    }
    if (bitsPerPixel != 8) {
        throw std::invalid_argument("icon images have 1, 4 or 8 bits per pixel");
    }
    for (std::uint32_t r = 0; r < 6; ++r) {
        for (std::uint32_t g = 0; g < 6; ++g) {
            for (std::uint32_t b = 0; b < 6; ++b) {
                palette.push_back(Rgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (std::uint32_t i = 1; i <= 24; ++i) {
        const std::uint32_t grey = i * 10;
        palette.push_back(Rgb(grey, grey, grey));
    }
    return palette;
}

std::vector<std::uint8_t> EncodeIconImage(const PixelBuffer& image, int bitsPerPixel) {
    const std::vector<Pixel> palette = IconPalette(bitsPerPixel);
    const int width = image.Width();
    const int height = image.Height();
    const std::uint32_t colourStride = Stride(width, bitsPerPixel);
    const std::uint32_t maskStride = Stride(width, 1);
    const std::uint32_t colourBytes = colourStride * static_cast<std::uint32_t>(height);
    const std::uint32_t maskBytes = maskStride * static_cast<std::uint32_t>(height);

    std::vector<std::uint8_t> out;
    // The height counts the colour bits and the mask together.
    PutInfoHeader(out, width, 2 * height, bitsPerPixel, colourBytes + maskBytes,
                  static_cast<std::uint32_t>(palette.size()));
    for (Pixel p : palette) {
        out.push_back(static_cast<std::uint8_t>(BlueOfPixel(p)));
        out.push_back(static_cast<std::uint8_t>(GreenOfPixel(p)));
        out.push_back(static_cast<std::uint8_t>(RedOfPixel(p)));
        out.push_back(0);
    }
    const std::size_t pixelsPerByte = static_cast<std::size_t>(8 / bitsPerPixel);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourStride, 0);
        for (int x = 0; x < width; ++x) {
            const auto index = static_cast<unsigned>(NearestIndex(palette, image.At(x, y)));
            const auto column = static_cast<std::size_t>(x);
            const auto slot = static_cast<unsigned>(column % pixelsPerByte);
            const auto shift = static_cast<unsigned>(8 - bitsPerPixel) -
                               slot * static_cast<unsigned>(bitsPerPixel);
            row[column / pixelsPerByte] |= static_cast<std::uint8_t>(index << shift);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    out.insert(out.end(), maskBytes, 0);
    return out;
}

std::vector<std::uint8_t> EncodeIconFile(std::span<const PixelBuffer> images,
                                         std::span<const IconImage> formats) {
    if (images.size() != formats.size() || images.empty() || images.size() > 0xFFFF) {
        throw std::invalid_argument("one format for each icon image");
    }
    std::vector<std::vector<std::uint8_t>> encoded;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const PixelBuffer& image = images[i];
        if (image.Width() != formats[i].size || image.Height() != formats[i].size ||
            formats[i].size > 256) {
            throw std::invalid_argument("icon image does not match its format");
        }
        encoded.push_back(EncodeIconImage(image, formats[i].bitsPerPixel));
    }

    std::vector<std::uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // icon, not cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    auto offset = kIconDirSize + kIconEntrySize * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& format = formats[i];
        // A size of 256 is written as 0; so is the colour count of 256 colours or more.
        out.push_back(static_cast<std::uint8_t>(format.size & 0xFF));
        out.push_back(static_cast<std::uint8_t>(format.size & 0xFF));
        out.push_back(
            static_cast<std::uint8_t>(format.bitsPerPixel < 8 ? 1u << format.bitsPerPixel : 0u));
        out.push_back(0);
        Put16(out, 1); // planes
        Put16(out, static_cast<std::uint32_t>(format.bitsPerPixel));
        Put32(out, static_cast<std::uint32_t>(encoded[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(encoded[i].size());
    }
    for (const auto& image : encoded) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

std::vector<std::uint8_t> EncodeBmpFile(const PixelBuffer& image) {
    const int width = image.Width();
    const int height = image.Height();
    const std::uint32_t stride = Stride(width, 24);
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(height);

    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, kFileHeaderSize + kInfoHeaderSize + imageBytes);
    Put32(out, 0); // reserved
    Put32(out, kFileHeaderSize + kInfoHeaderSize);
    PutInfoHeader(out, width, height, 24, imageBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const Pixel p = image.At(x, y);
            const auto at = static_cast<std::size_t>(x) * 3;
            row[at] = static_cast<std::uint8_t>(BlueOfPixel(p));
            row[at + 1] = static_cast<std::uint8_t>(GreenOfPixel(p));
            row[at + 2] = static_cast<std::uint8_t>(RedOfPixel(p));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> MakeAppIcon() {
    std::vector<PixelBuffer> images;
    for (const IconImage& format : kAppIconImages) {
        images.push_back(RenderFigure(format.size));
    }
    return EncodeIconFile(images, kAppIconImages);
}

std::vector<std::uint8_t> MakeFigurePicture() {
    return EncodeBmpFile(RenderFigure(kFigurePictureSize));
}

} // namespace tessarline
