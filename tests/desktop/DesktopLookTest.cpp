// The help dialog as a Linux desktop shows it, at the scale QT_SCALE_FACTOR asks for: the
// whole rules text, and the labels' colour under light and dark themes.
#include "help/linux/LinuxRegistry.h"
#include "help/qt/AboutDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include <tuple>

namespace tessarline {
namespace {

struct NoShell : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override {}
    void ShowMessage(const std::wstring&, const std::wstring&) override {}
};

struct LoadedDialog {
    LinuxRegistry registry{{}, ""};
    Latin1CodePage codePage;
    NoShell shell;
    AboutDialog dialog{nullptr, registry, codePage, shell};
    LoadedDialog() { dialog.Load(); }
    QLabel* Label(const char* name) { return dialog.findChild<QLabel*>(QString::fromLatin1(name)); }
};

TEST(RulesText, EveryCharacterLaidOutInsideTheLabel) {
    LoadedDialog d;
    QLabel* label = d.Label("lblDescription");
    const QRect laidOut = label->fontMetrics().boundingRect(
        label->contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    const QRect shown = label->mask().isEmpty() ? label->rect() : label->mask().boundingRect();
    EXPECT_TRUE(label->rect().contains(shown) && shown.contains(laidOut))
        << label->font().family().toStdString() << ": text " << laidOut.height() << " pixels high, "
        << shown.height() << " shown";
}

TEST(Labels, ThemeTextOnADarkFaceBlackOnALightOne) {
    const QColor light(239, 239, 239), dark(50, 50, 50), pale(238, 238, 236), blue(0, 0, 128);
    for (auto [face, text, want] :
         {std::tuple{dark, pale, pale}, {light, blue, QColor(Qt::black)}}) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::WindowText, text);
        QApplication::setPalette(palette);
        LoadedDialog d;
        for (const char* name : {"lblTitle", "lblDescription"}) {
            EXPECT_EQ(d.Label(name)->palette().color(QPalette::WindowText), want) << name;
        }
    }
}

} // namespace
} // namespace tessarline

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
