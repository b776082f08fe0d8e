// The help dialog at the scale QT_SCALE_FACTOR asks for: the whole rules text, and the labels'
// colour under a light and a dark theme.
#include "help/linux/LinuxRegistry.h"
#include "help/linux/LinuxShell.h"
#include "help/qt/HelpDialogHost.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

TEST(Dialog, WholeRulesTextAndReadableLabels) {
    using namespace tessarline;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 0;
    QApplication app(argc, nullptr);
    LinuxRegistry registry({}, "");
    Latin1CodePage codePage;
    LinuxShell shell;
    const QColor pale(238, 238, 236);
    for (auto [face, want] :
         {std::pair<QColor, QColor>{Qt::white, Qt::black}, {QColor(50, 50, 50), pale}}) {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, face);
        palette.setColor(QPalette::WindowText, pale);
        QApplication::setPalette(palette);
        AboutDialog d(nullptr, registry, codePage, shell);
        d.Load();
        auto* label = d.findChild<QLabel*>(QStringLiteral("lblDescription"));
        EXPECT_EQ(label->palette().color(QPalette::WindowText), want);
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("lblTitle"))->palette(), label->palette());
        const QRect text = label->fontMetrics().boundingRect(
            label->contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
        const QRect shown = label->mask().isEmpty() ? label->rect() : label->mask().boundingRect();
        EXPECT_TRUE(label->rect().contains(shown) && shown.contains(text))
            << text.height() << " pixels of text, " << shown.height() << " shown";
    }
}
