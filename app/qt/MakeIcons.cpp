// Build tool: writes the application icon at the sizes the desktop's icon theme installs,
// drawn from the figure's geometry like the window icon.
#include "board/core/Raster.h"

#include <QImage>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int size : {16, 32, 48}) {
        const tessarline::PixelBuffer figure = tessarline::RenderFigure(size);
        const QImage image(reinterpret_cast<const uchar*>(figure.Data()), size, size,
                           static_cast<qsizetype>(size) * 4, QImage::Format_RGB32);
        const QString path = QStringLiteral("%1/tessarline-%2.png").arg(dir).arg(size);
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
