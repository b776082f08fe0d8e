// The program's one font: the toolkit's default sans-serif face at 8 points, for the menu bar,
// the boxes' captions and the help dialog alike, so that start-up loads a single font.
#pragma once

#include <QFont>
#include <QGuiApplication>

namespace tessarline {

inline QFont AppFont() {
    QFont font = QGuiApplication::font();
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

} // namespace tessarline
