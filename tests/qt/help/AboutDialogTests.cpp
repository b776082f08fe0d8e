// The help dialog over the real board window on the offscreen platform: its frame and place,
// modality, focus and keys, its picture and its message box, opened three times over.
#include "board/qt/BoardWindowQt.h"
#include "help/linux/LinuxRegistry.h"
#include "help/linux/LinuxShell.h"
#include "help/qt/HelpDialogHost.h"
#include "tests/support/FigureCheck.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace tessarline {
namespace {

// A host with no system-information program, so System Info shows its message.
class HelpDialogTest : public ::testing::Test {
protected:
    HelpDialogTest() {
        board_.setHelpHandler([this] { host_.ShowModal(); });
        board_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
    }

    // Chooses Help and runs body inside the dialog's modal loop once it is active; body closes it.
    void WhileOpen(std::function<void(AboutDialog&)> body) {
        body_ = std::move(body);
        ran_ = false;
        QTimer::singleShot(0, &board_, [this] {
            AboutDialog* d = host_.Dialog();
            if ((ran_ = QTest::qWaitFor([d] { return d->isActiveWindow(); }))) {
                body_(*d);
            }
            EXPECT_FALSE(d->isVisible()) << "left open";
            d->done(0);
        });
        board_.helpAction()->trigger();
        EXPECT_TRUE(ran_);
    }

    BoardWindowQt board_;
    LinuxRegistry registry_{{"hardinfo"}, ""};
    LinuxShell shell_;
    HelpDialogHost host_{&board_, registry_, shell_};
    std::function<void(AboutDialog&)> body_;
    bool ran_ = false;
};

TEST_F(HelpDialogTest, ModalFixedDialogLoadedAfreshWithItsMessageBox) {
    board_.form().lblNode_Click(4);
    WhileOpen([&](AboutDialog& d) {
        EXPECT_EQ(d.geometry(), QRect(156, 129, 382, 237));
        EXPECT_EQ(d.windowHandle()->transientParent(), board_.windowHandle()); // no task-bar entry
        EXPECT_EQ(d.windowModality(), Qt::ApplicationModal);
        // Its access keys do not reach the board (a click is the end-to-end test's).
        QTest::keyClick(board_.windowHandle(), Qt::Key_R, Qt::AltModifier);
        EXPECT_EQ(board_.form().CurrentNode, 4);
        const QImage shown =
            d.findChild<QLabel*>("Image1")->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.size(), QSize(49, 49) * d.devicePixelRatioF());
        const auto black = [&](int x, int y) { return shown.pixel(x, y) == qRgb(0, 0, 0); };
        EXPECT_EQ(testing::LostFigurePixels(shown.width(), black), 0); // every line kept
        // Changed now, restored at the next opening.
        d.setWindowTitle(QStringLiteral("changed"));
        d.findChild<QLabel*>("lblTitle")->setText(QStringLiteral("changed"));
        d.move(10, 10);
        auto* ok = d.findChild<QPushButton*>("cmdOK");
        EXPECT_TRUE(QApplication::focusWidget() == ok && ok->isDefault());
        QTest::keyClick(ok, Qt::Key_Return);
    });
    WhileOpen([&](AboutDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About Tessarline"));
        EXPECT_EQ(d.findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Tessarline"));
        EXPECT_EQ(d.geometry().topLeft(), QPoint(156, 129));
        bool checked = false;
        QTimer::singleShot(0, &d, [&] { // inside the message box's own modal loop
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(box && box->parentWidget() == &d);
            EXPECT_TRUE(box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1);
            checked = true;
            box->button(QMessageBox::Ok)->click();
        });
        auto* sysInfo = d.findChild<QPushButton*>("cmdSysInfo");
        sysInfo->click();
        EXPECT_TRUE(checked && QApplication::activeModalWidget() == &d); // the dialog stays
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Escape);
    });
    WhileOpen([&](AboutDialog& d) { EXPECT_TRUE(d.windowHandle()->close()); }); // close button
    EXPECT_EQ(board_.form().CurrentNode, 4);
}

} // namespace
} // namespace tessarline
