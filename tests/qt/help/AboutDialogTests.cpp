// The help dialog over the real board window on the offscreen platform: its window, controls
// and keys, and the board that takes no input while it is open.
#include "app/core/AppInfo.h"
#include "help/linux/LinuxRegistry.h"
#include "help/qt/AboutDialog.h"
#include "help/qt/FigureImage.h"
#include "tests/qt/QtTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <functional>
#include <vector>

namespace tessarline {
namespace {

struct RecordingShell : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring& path) override { started.push_back(path); }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        messages.push_back(text);
        captions.push_back(caption);
        modalWhenShown = QApplication::activeModalWidget();
    }
    std::vector<std::wstring> started, messages, captions;
    QWidget* modalWhenShown = nullptr;
};

template <class T> T* Child(QWidget* dialog, const char* name) {
    return dialog->findChild<T*>(QString::fromLatin1(name));
}

// The real board, a registry with no system-information program and a recording shell.
class HelpDialogTest : public ::testing::Test {
protected:
    HelpDialogTest() : registry_({"hardinfo"}, ""), host_(&board_, registry_, shell_) {
        board_.setHelpHandler([this] { host_.ShowModal(); });
        board_.setBeepHandler([this] { ++beeps_; });
        board_.form().Form_Load();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
    }

    // Opens Help and runs body once the dialog is up and active; body must close it.
    void WhileOpen(const std::function<void(AboutDialog&)>& body) {
        bool ran = false;
        OnceOpen(host_, &board_, body, &ran);
        host_.ShowModal();
        EXPECT_TRUE(ran);
        ASSERT_NE(host_.Dialog(), nullptr);
        EXPECT_FALSE(host_.Dialog()->isVisible());
    }

    // A click through the window system, so that a modal dialog can block it.
    void ClickBoard(QWidget* on, QPoint at) {
        QTest::mouseClick(board_.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          on->mapTo(&board_, at));
    }

    BoardWindowQt board_;
    LinuxRegistry registry_;
    RecordingShell shell_;
    HelpDialogHost host_;
    int beeps_ = 0;
};

TEST_F(HelpDialogTest, ShowsTitleTextsAndLayout) {
    // The title seen when the window first appears ("About MyApp" never is).
    struct TitleAtShow : QObject {
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && o->objectName() == QLatin1String("frmAbout")) {
                titles << static_cast<QWidget*>(o)->windowTitle();
            }
            return false;
        }
        QStringList titles;
    } spy;
    qApp->installEventFilter(&spy);

    WhileOpen([&](AboutDialog& d) {
        EXPECT_EQ(spy.titles, QStringList{QStringLiteral("About Tessarline")});
        EXPECT_EQ(d.windowModality(), Qt::ApplicationModal);
        // Client area, size and place at 96 DPI, scaled by the screen's logical DPI.
        EXPECT_DOUBLE_EQ(d.PixelsPerTwip(), d.screen()->logicalDotsPerInchX() / 96.0 / 15.0);
        EXPECT_EQ(d.geometry(), QRect(d.Px(2340), d.Px(1935), d.Px(5730), d.Px(3555)));
        EXPECT_EQ(d.minimumSize(), d.maximumSize());
        // A fixed dialog frame with system menu and close button, no other button, and no
        // task-bar entry of its own (a transient of the board).
        const Qt::WindowFlags flags = d.windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_TRUE(flags & Qt::WindowSystemMenuHint && flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                              Qt::WindowContextHelpButtonHint));
        EXPECT_EQ(d.windowHandle()->transientParent(), board_.windowHandle());
        EXPECT_EQ(d.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));

        auto* title = Child<QLabel>(&d, "lblTitle");
        auto* description = Child<QLabel>(&d, "lblDescription");
        auto* ok = Child<QPushButton>(&d, "cmdOK");
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        auto* image = Child<QLabel>(&d, "Image1");
        ASSERT_TRUE(title && description && ok && sysInfo && image);
        EXPECT_EQ(title->text(), QStringLiteral("Tessarline"));
        EXPECT_EQ(description->text().size(), 327);
        EXPECT_TRUE(description->text().startsWith(
            QStringLiteral("You have to connect all the boxes.  Each line")))
            << description->text().toStdString();
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_EQ(sysInfo->text(), QStringLiteral("&System Info..."));
        const struct {
            QWidget* w;
            int left, top, width, height;
        } layout[] = {{image, 120, 120, 735, 735},
                      {title, 1050, 240, 3885, 480},
                      {description, 1080, 720, 3885, 1290},
                      {ok, 4245, 2625, 1260, 345},
                      {sysInfo, 4260, 3075, 1245, 345}};
        for (const auto& l : layout) {
            EXPECT_EQ(QRect(l.w->mapTo(&d, QPoint(0, 0)), l.w->size()),
                      QRect(d.Px(l.left), d.Px(l.top), d.Px(l.width), d.Px(l.height)))
                << l.w->objectName().toStdString();
        }
        // The rules text, black, wraps onto several lines within the label.
        EXPECT_TRUE(description->wordWrap());
        EXPECT_EQ(description->palette().color(QPalette::WindowText), QColor(Qt::black));
        const QImage pixels = description->grab().toImage();
        int inkRows = 0;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                if (qGray(pixels.pixel(x, y)) < 64) { // the glyphs are smoothed
                    ++inkRows;
                    break;
                }
            }
        }
        EXPECT_GT(inkRows, 2 * QFontMetrics(description->font()).ascent());
        // The focus starts on OK, the default button; the tab order runs OK, System Info.
        EXPECT_EQ(QApplication::focusWidget(), ok);
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(ok->nextInFocusChain(), sysInfo);
        ok->click();
    });
    qApp->removeEventFilter(&spy);
    EXPECT_TRUE(shell_.messages.empty() && shell_.started.empty());
}

// The stored 50 by 50 picture, shown exactly as stretched, black on white (its shape is the
// core tests' concern); the stretch keeps every one-pixel line.
TEST_F(HelpDialogTest, PictureIsTheStoredFigureStretched) {
    const QImage bitmap = FigureBitmap();
    EXPECT_EQ(bitmap.size(), QSize(50, 50));
    EXPECT_EQ(bitmap.depth(), 24);
    WhileOpen([&](AboutDialog& d) {
        const QImage shown = Grab(Child<QLabel>(&d, "Image1"));
        EXPECT_EQ(shown.size(), QSize(d.Px(735), d.Px(735)));
        EXPECT_EQ(shown, StretchBlackOnWhite(bitmap, shown.size()));
        d.Unload();
    });
    QImage lines(50, 50, QImage::Format_RGB32);
    for (int row = 0; row < 50; ++row) {
        lines.fill(Qt::white);
        for (int x = 0; x < 50; ++x) {
            lines.setPixel(x, row, 0xFF000000u);
            lines.setPixel(row, x, 0xFF000000u);
        }
        const QImage small = StretchBlackOnWhite(lines, QSize(49, 49));
        int blackRows = 0;
        for (int y = 0; y < 49; ++y) {
            const QRgb p = small.pixel(20 + (row < 30 ? 20 : -20), y) & 0xFFFFFFu;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFFu);
            blackRows += p == 0;
        }
        EXPECT_EQ(blackRows, 1) << "row " << row;
    }
}

TEST_F(HelpDialogTest, EnterEscCloseButtonAndAltS) {
    WhileOpen([&](AboutDialog& d) { // Enter presses the focused button
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return);
        EXPECT_EQ(shell_.messages.size(), 1u);
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(sysInfo, Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(&d, "cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
    });
    WhileOpen([&](AboutDialog&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    WhileOpen([&](AboutDialog& d) {
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Escape);
    });
    WhileOpen([&](AboutDialog& d) { EXPECT_TRUE(d.windowHandle()->close()); });
    EXPECT_EQ(shell_.messages.size(), 1u);
    WhileOpen([&](AboutDialog& d) {
        QTest::keyClick(&d, Qt::Key_S, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([&] { return shell_.messages.size() == 2; }));
        EXPECT_EQ(shell_.messages[1], std::wstring(kSysInfoUnavailable));
        EXPECT_EQ(shell_.captions[1], L"Tessarline");
        EXPECT_EQ(shell_.modalWhenShown, &d);
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
    EXPECT_TRUE(shell_.started.empty());
}

TEST_F(HelpDialogTest, EveryOpeningLoadsAfresh) {
    AboutDialog* first = nullptr;
    WhileOpen([&](AboutDialog& d) {
        first = &d;
        d.setWindowTitle(QStringLiteral("changed"));
        Child<QLabel>(&d, "lblTitle")->setText(QStringLiteral("changed"));
        Child<QLabel>(&d, "lblDescription")->setText(QStringLiteral("changed"));
        Child<QLabel>(&d, "Image1")->clear();
        Child<QPushButton>(&d, "cmdOK")->setDefault(false);
        Child<QPushButton>(&d, "cmdSysInfo")->setEnabled(false);
        Child<QPushButton>(&d, "cmdSysInfo")->setFocus();
        d.move(10, 10);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    WhileOpen([&](AboutDialog& d) {
        EXPECT_EQ(&d, first); // one shared instance
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About Tessarline"));
        EXPECT_EQ(Child<QLabel>(&d, "lblTitle")->text(), QStringLiteral("Tessarline"));
        EXPECT_EQ(Child<QLabel>(&d, "lblDescription")->text().toStdWString(), kRulesText);
        EXPECT_FALSE(Child<QLabel>(&d, "Image1")->pixmap().isNull());
        auto* ok = Child<QPushButton>(&d, "cmdOK");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(QApplication::focusWidget(), ok);
        EXPECT_TRUE(Child<QPushButton>(&d, "cmdSysInfo")->isEnabled());
        EXPECT_EQ(d.geometry().topLeft(), QPoint(d.Px(2340), d.Px(1935)));
        QTest::keyClick(ok, Qt::Key_Return);
    });
}

TEST_F(HelpDialogTest, TheMessageBoxIsModalOverTheDialogWithOneOkButton) {
    QtSystemShell realShell;
    HelpDialogHost host(&board_, registry_, realShell);
    bool checked = false;
    bool ran = false;
    OnceOpen(
        host, &board_,
        [&](AboutDialog& d) {
            // Runs inside the message box's own modal loop.
            QTimer::singleShot(0, &d, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->text(),
                          QStringLiteral("System Information Is Unavailable At This Time"));
                EXPECT_EQ(box->windowTitle(), QStringLiteral("Tessarline"));
                EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
                EXPECT_EQ(box->buttons().size(), 1);
                EXPECT_EQ(box->parentWidget(), &d);
                EXPECT_TRUE(box->isModal());
                checked = true;
                box->button(QMessageBox::Ok)->click();
            });
            Child<QPushButton>(&d, "cmdSysInfo")->click();
            EXPECT_EQ(QApplication::activeModalWidget(), &d); // the dialog stays open
            d.Unload();
        },
        &ran);
    host.ShowModal();
    EXPECT_TRUE(ran && checked);
}

// Box clicks, the menu bar's Reset and the access keys go nowhere while Help is open; the board
// is exactly as it was afterwards, and takes clicks again.
TEST_F(HelpDialogTest, TheBoardIgnoresInputWhileHelpIsOpenAndKeepsItsState) {
    const auto box = [](int n) { return BoxPixels(n).center(); };
    board_.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
    ClickBoard(board_.boardView(), box(4));
    ClickBoard(board_.boardView(), box(2));
    ASSERT_EQ(board_.form().CurrentNode, 2);
    const BoardState before = BoardState::Of(board_);
    bool checked = false;
    OnceOpen(
        host_, &board_,
        [&](AboutDialog& d) {
            for (int node : {1, 3, 4}) {
                ClickBoard(board_.boardView(), box(node));
            }
            QMenuBar* bar = board_.menuBar();
            ClickBoard(bar, bar->actionGeometry(board_.resetAction()).center());
            QTest::keyClick(board_.windowHandle(), Qt::Key_R, Qt::AltModifier);
            QTest::keyClick(board_.windowHandle(), Qt::Key_H, Qt::AltModifier);
            QTest::qWait(50);
            EXPECT_TRUE(BoardState::Of(board_) == before);
            EXPECT_EQ(QApplication::activeModalWidget(), &d);
            QTest::keyClick(&d, Qt::Key_Escape);
        },
        &checked);
    QTest::keyClick(board_.windowHandle(), Qt::Key_H, Qt::AltModifier);
    ASSERT_TRUE(checked) << "Alt+H did not open the dialog";
    EXPECT_TRUE(BoardState::Of(board_) == before);
    EXPECT_EQ(beeps_, 0);
    board_.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return QApplication::activeWindow() == &board_; }));
    ClickBoard(board_.boardView(), box(1)); // next to the pen on 2
    EXPECT_EQ(board_.form().CurrentNode, 1);
}

} // namespace
} // namespace tessarline
