// The program's one font: an 8-point sans-serif face, for the menu bar, the boxes' captions and
// the help dialog alike, so that start-up loads a single font. The face is named rather than
// left to the desktop, so that every machine lays the rules text out alike: FreeSans fits all
// of it into its label at every scale, where the usual default face cuts its last lines.
#pragma once

#include <QFont>

namespace tessarline {

inline QFont AppFont() {
    // Without FreeSans, fontconfig substitutes the desktop's sans-serif face.
    QFont font(QStringLiteral("FreeSans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

} // namespace tessarline
