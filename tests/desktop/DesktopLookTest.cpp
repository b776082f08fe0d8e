// The help dialog as a Linux desktop shows it, at the scale QT_SCALE_FACTOR asks for: the
// whole rules text, and the labels' colour under dark and light themes.
#include "help/linux/LinuxRegistry.h"
#include "help/linux/LinuxShell.h"
#include "help/qt/AboutDialog.h"
#include "help/qt/HelpDialogHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

namespace tessarline {
namespace {

struct Dialog {
    LinuxRegistry registry{{}, ""};
    Latin1CodePage codePage;
    LinuxShell shell;
    AboutDialog d{nullptr, registry, codePage, shell};
    QLabel* Label(const char* name) { return d.findChild<QLabel*>(QString::fromLatin1(name)); }
};

TEST(RulesText, EveryCharacterLaidOutInsideTheLabel) {
    Dialog dialog;
    dialog.d.Load();
    QLabel* label = dialog.Label("lblDescription");
    const QRect text = label->fontMetrics().boundingRect(
        label->contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
    const QRect shown = label->mask().isEmpty() ? label->rect() : label->mask().boundingRect();
    EXPECT_TRUE(label->rect().contains(shown) && shown.contains(text))
        << text.height() << " pixels of text in " << label->font().family().toStdString() << ", "
        << shown.height() << " shown";
}

TEST(Labels, ThemeTextOnADarkFaceBlackOnALightOne) {
    const QColor pale(238, 238, 236);
    for (auto [face, want] : {std::pair{QColor(50, 50, 50), pale}, {Qt::white, Qt::black}}) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::WindowText, pale);
        QApplication::setPalette(palette);
        Dialog dialog;
        dialog.d.Load();
        for (const char* name : {"lblTitle", "lblDescription"}) {
            EXPECT_EQ(dialog.Label(name)->palette().color(QPalette::WindowText), want) << name;
        }
    }
}

} // namespace
} // namespace tessarline
