// How much larger than at 96 DPI a window is laid out on a screen: the screen's logical DPI
// over 96, the factor that twips become pixels with (see TwipsToPixels).
#pragma once

#include <QScreen>

namespace tessarline {

inline double LayoutScale(const QScreen* screen) {
    return screen != nullptr ? screen->logicalDotsPerInchX() / 96.0 : 1.0;
}

} // namespace tessarline
