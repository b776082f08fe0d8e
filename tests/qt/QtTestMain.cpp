// The Qt tests' main: headless, unscaled, with a private runtime directory.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) { // listing the tests needs no display
        return RUN_ALL_TESTS();
    }
    // Scaling from the caller's environment would move every pixel the tests look at.
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"}) {
        qunsetenv(name);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir runtime; // owner-only, as Qt wants it
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
