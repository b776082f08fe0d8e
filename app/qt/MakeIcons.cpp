// Build tool: writes the application icon at the sizes the desktop's icon theme installs,
// the same images as the window icon.
#include "platform/qt/AppIcon.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int size : tessarline::kAppIconSizes) {
        const QString path = QStringLiteral("%1/tessarline-%2.png").arg(dir).arg(size);
        if (!tessarline::AppIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
