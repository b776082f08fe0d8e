#include "platform/qt/AppIcon.h"

#include "board/core/Raster.h"
#include "platform/qt/PixelImage.h"

#include <QPixmap>

namespace tessarline {

QImage AppIconImage(int size) {
    const PixelBuffer figure = RenderFigure(size);
    // A deep copy: the wrapped pixels die with the buffer.
    return WrapPixels(figure).copy();
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : kAppIconSizes) {
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    }
    return icon;
}

} // namespace tessarline
