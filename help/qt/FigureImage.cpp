#include "help/qt/FigureImage.h"

#include "board/core/Raster.h"
#include "platform/qt/PixelImage.h"

#include <algorithm>

namespace tessarline {

QImage FigureBitmap() {
    const PixelBuffer figure = RenderFigure(50);
    // The conversion copies the pixels out of the buffer.
    return WrapPixels(figure).convertToFormat(QImage::Format_RGB888);
}

QImage StretchBlackOnWhite(const QImage& source, QSize size) {
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    const int sw = src.width();
    const int sh = src.height();
    const int dw = size.width();
    const int dh = size.height();
    for (int y = 0; y < dh; ++y) {
        const int y0 = y * sh / dh;
        const int y1 = std::max(y0 + 1, (y + 1) * sh / dh);
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < dw; ++x) {
            const int x0 = x * sw / dw;
            const int x1 = std::max(x0 + 1, (x + 1) * sw / dw);
            QRgb value = 0xFFFFFFFFu;
            for (int sy = y0; sy < y1; ++sy) {
                const auto* from = reinterpret_cast<const QRgb*>(src.constScanLine(sy));
                for (int sx = x0; sx < x1; ++sx) {
                    value &= from[sx];
                }
            }
            line[x] = value;
        }
    }
    return out;
}

} // namespace tessarline
