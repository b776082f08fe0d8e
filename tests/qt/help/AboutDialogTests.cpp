// The help dialog on the offscreen platform: its window, controls, keys and the launcher
// behind its System Info button.
#include "app/core/AppInfo.h"
#include "help/linux/LinuxRegistry.h"
#include "help/qt/AboutDialog.h"
#include "help/qt/FigureImage.h"
#include "help/qt/HelpDialogHost.h"
#include "tests/qt/help/HelpTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>

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

QRect TwipsToPixels(const AboutDialog& d, int left, int top, int width, int height) {
    return {d.Px(left), d.Px(top), d.Px(width), d.Px(height)};
}

// A board stand-in, a registry with no system-information program and a recording shell.
class HelpDialogTest : public ::testing::Test {
protected:
    HelpDialogTest() : registry_({"hardinfo"}, ""), host_(&board_, registry_, shell_) {
        board_.setWindowTitle(QString::fromStdWString(std::wstring(kAppTitle)));
        board_.resize(178, 179);
        board_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&board_));
    }

    // Opens Help and runs body once the dialog is up and active. Afterwards the dialog must be
    // closed; a body that leaves it open fails the test instead of blocking it.
    void WhileOpen(const std::function<void(AboutDialog&)>& body) {
        bool ran = false;
        OnceOpen(host_, &board_, body, &ran);
        host_.ShowModal();
        EXPECT_TRUE(ran);
        ASSERT_NE(host_.Dialog(), nullptr);
        EXPECT_FALSE(host_.Dialog()->isVisible());
    }

    QWidget board_;
    LinuxRegistry registry_;
    RecordingShell shell_;
    HelpDialogHost host_;
};

TEST_F(HelpDialogTest, ShowsTitleTextsAndLayout) {
    // The title seen when the window first appears.
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
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About Tessarline"));
        EXPECT_EQ(QApplication::activeModalWidget(), &d);
        EXPECT_EQ(d.windowModality(), Qt::ApplicationModal);

        // Client area, size and place at 96 DPI, scaled by the screen's logical DPI.
        const double scale = d.screen()->logicalDotsPerInchX() / 96.0;
        EXPECT_DOUBLE_EQ(d.PixelsPerTwip(), scale / 15.0);
        EXPECT_EQ(d.geometry(), QRect(d.Px(2340), d.Px(1935), d.Px(5730), d.Px(3555)));
        if (scale == 1.0) {
            EXPECT_EQ(d.geometry(), QRect(156, 129, 382, 237));
        }
        EXPECT_EQ(d.minimumSize(), d.maximumSize());

        // Frame: title, system menu and close button; no minimise or maximise button.
        const Qt::WindowFlags flags = d.windowFlags();
        EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
        EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
        // A transient of the board: no task-bar entry of its own.
        ASSERT_NE(d.windowHandle(), nullptr);
        EXPECT_EQ(d.windowHandle()->transientParent(), board_.windowHandle());
        const QList<QSize> iconSizes = d.windowIcon().availableSizes();
        EXPECT_EQ(iconSizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
        EXPECT_EQ(d.font().pointSize(), 8);

        auto* title = Child<QLabel>(&d, "lblTitle");
        auto* description = Child<QLabel>(&d, "lblDescription");
        auto* ok = Child<QPushButton>(&d, "cmdOK");
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        auto* image = Child<QLabel>(&d, "Image1");
        ASSERT_TRUE(title && description && ok && sysInfo && image);
        EXPECT_EQ(title->text(), QStringLiteral("Tessarline"));
        EXPECT_EQ(description->text().size(), 327);
        EXPECT_EQ(description->text().toStdWString(), kRulesText);
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        EXPECT_EQ(sysInfo->text(), QStringLiteral("&System Info..."));

        const QPoint origin = d.mapToGlobal(QPoint(0, 0)) - d.geometry().topLeft();
        const auto at = [&](QWidget* w) {
            return QRect(w->mapTo(&d, QPoint(0, 0)) + origin, w->size());
        };
        EXPECT_EQ(at(image), TwipsToPixels(d, 120, 120, 735, 735));
        EXPECT_EQ(at(title), TwipsToPixels(d, 1050, 240, 3885, 480));
        EXPECT_EQ(at(description), TwipsToPixels(d, 1080, 720, 3885, 1290));
        EXPECT_EQ(at(ok), TwipsToPixels(d, 4245, 2625, 1260, 345));
        EXPECT_EQ(at(sysInfo), TwipsToPixels(d, 4260, 3075, 1245, 345));

        for (QLabel* label : {title, description}) {
            EXPECT_TRUE(label->wordWrap());
            EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
            EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
            EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
        }
        // The rules text wraps onto several lines within the label and is cut at its height.
        const QImage pixels = description->grab().toImage();
        int inkRows = 0;
        for (int y = 0; y < pixels.height(); ++y) {
            for (int x = 0; x < pixels.width(); ++x) {
                if (pixels.pixelColor(x, y) == QColor(Qt::black)) {
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
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_TRUE(shell_.started.empty());
}

TEST_F(HelpDialogTest, PictureIsTheWholeFigureInBlackAndWhite) {
    WhileOpen([&](AboutDialog& d) {
        auto* image = Child<QLabel>(&d, "Image1");
        ASSERT_NE(image, nullptr);
        const QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(d.Px(735), d.Px(735)));
        const int n = shown.width();
        int black = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const QRgb p = shown.pixel(x, y) & 0xFFFFFFu;
                ASSERT_TRUE(p == 0 || p == 0xFFFFFFu) << x << "," << y;
                black += p == 0;
            }
        }
        EXPECT_GT(black, 4 * n);
        EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFFu, 0xFFFFFFu);
        // Across the middle row: the circle at both ends, the two sides of the square and the
        // crossing of the diagonals, each within a pixel of where the figure puts it.
        const auto blackNear = [&](double fx, double fy) {
            const int cx = static_cast<int>(fx * (n - 1) + 0.5);
            const int cy = static_cast<int>(fy * (n - 1) + 0.5);
            for (int y = cy - 1; y <= cy + 1; ++y) {
                for (int x = cx - 1; x <= cx + 1; ++x) {
                    if (x >= 0 && y >= 0 && x < n && y < n &&
                        (shown.pixel(x, y) & 0xFFFFFFu) == 0) {
                        return true;
                    }
                }
            }
            return false;
        };
        // Box centres lie on the circle at 45 degrees: the square's sides at 0.5 -+ 0.3536.
        for (double f : {0.0, 0.1464, 0.5, 0.8536, 1.0}) {
            EXPECT_TRUE(blackNear(f, 0.5)) << "row, at " << f;
            EXPECT_TRUE(blackNear(0.5, f)) << "column, at " << f;
        }
        EXPECT_TRUE(blackNear(0.25, 0.25));
        EXPECT_TRUE(blackNear(0.75, 0.25));
        // Shown exactly as stretched from the stored picture: no second scaling or smoothing.
        EXPECT_EQ(shown, StretchBlackOnWhite(FigureBitmap(), shown.size()));
        d.Unload();
    });
}

TEST(FigureImage, StoredPictureAndStretchKeepEveryLine) {
    const QImage bitmap = FigureBitmap();
    EXPECT_EQ(bitmap.size(), QSize(50, 50));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGB888);
    EXPECT_EQ(bitmap.depth(), 24);

    // Any black row or column of the source shows in the shrunk picture.
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
            blackRows += (small.pixel(20 + (row < 30 ? 20 : -20), y) & 0xFFFFFFu) == 0;
        }
        EXPECT_EQ(blackRows, 1) << "row " << row;
    }
    // Enlarging keeps black and white only.
    const QImage big = StretchBlackOnWhite(bitmap, QSize(98, 98));
    for (int y = 0; y < 98; ++y) {
        for (int x = 0; x < 98; ++x) {
            const QRgb p = big.pixel(x, y) & 0xFFFFFFu;
            ASSERT_TRUE(p == 0 || p == 0xFFFFFFu);
        }
    }
}

TEST_F(HelpDialogTest, EnterPressesTheFocusedButton) {
    WhileOpen([&](AboutDialog& d) {
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Return);
        EXPECT_EQ(shell_.messages.size(), 1u);
        EXPECT_TRUE(d.isVisible());
        // Back on OK, Enter closes the dialog.
        QTest::keyClick(sysInfo, Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), Child<QPushButton>(&d, "cmdOK"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(shell_.messages.size(), 1u);
}

TEST_F(HelpDialogTest, EscClosesWhateverHasTheFocus) {
    WhileOpen([&](AboutDialog&) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
    WhileOpen([&](AboutDialog& d) {
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        sysInfo->setFocus();
        QTest::keyClick(sysInfo, Qt::Key_Escape);
    });
    EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(HelpDialogTest, TheCloseButtonUnloads) {
    WhileOpen([&](AboutDialog& d) { EXPECT_TRUE(d.windowHandle()->close()); });
    EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(HelpDialogTest, AltSPressesSystemInfoAndTheDialogStaysOpen) {
    WhileOpen([&](AboutDialog& d) {
        QTest::keyClick(&d, Qt::Key_S, Qt::AltModifier);
        ASSERT_TRUE(WaitFor([&] { return !shell_.messages.empty(); }));
        EXPECT_EQ(shell_.messages, std::vector<std::wstring>{std::wstring(kSysInfoUnavailable)});
        EXPECT_EQ(shell_.captions, std::vector<std::wstring>{L"Tessarline"});
        EXPECT_EQ(shell_.modalWhenShown, &d);
        EXPECT_TRUE(shell_.started.empty());
        EXPECT_TRUE(d.isVisible());
        d.close();
    });
}

TEST_F(HelpDialogTest, SystemInfoStartsTheInstalledProgram) {
    const QString dir = QDir::temp().filePath(
        QStringLiteral("tessarline-help-%1").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(QDir().mkpath(dir));
    const QString program = dir + QStringLiteral("/kinfocenter");
    {
        QFile f(program);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    LinuxRegistry installed({"hardinfo", "kinfocenter"}, dir.toStdString());
    RecordingShell shell;
    HelpDialogHost host(&board_, installed, shell);
    bool ran = false;
    OnceOpen(
        host, &board_,
        [&](AboutDialog& d) {
            Child<QPushButton>(&d, "cmdSysInfo")->click();
            EXPECT_TRUE(d.isVisible());
            d.Unload();
        },
        &ran);
    host.ShowModal();
    EXPECT_TRUE(ran);
    QDir(dir).removeRecursively();
    EXPECT_EQ(shell.started, std::vector<std::wstring>{program.toStdWString()});
    EXPECT_TRUE(shell.messages.empty());
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
        Child<QPushButton>(&d, "cmdSysInfo")->setDown(true);
        Child<QPushButton>(&d, "cmdSysInfo")->setFocus();
        d.move(10, 10);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    WhileOpen([&](AboutDialog& d) {
        EXPECT_EQ(&d, first);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("About Tessarline"));
        EXPECT_EQ(Child<QLabel>(&d, "lblTitle")->text(), QStringLiteral("Tessarline"));
        auto* ok = Child<QPushButton>(&d, "cmdOK");
        EXPECT_TRUE(ok->isDefault());
        EXPECT_EQ(QApplication::focusWidget(), ok);
        EXPECT_EQ(d.geometry().topLeft(), QPoint(d.Px(2340), d.Px(1935)));
        EXPECT_EQ(Child<QLabel>(&d, "lblDescription")->text().toStdWString(), kRulesText);
        EXPECT_FALSE(Child<QLabel>(&d, "Image1")->pixmap().isNull());
        auto* sysInfo = Child<QPushButton>(&d, "cmdSysInfo");
        EXPECT_TRUE(sysInfo->isEnabled());
        EXPECT_FALSE(sysInfo->isDown());
        EXPECT_EQ(d.findChildren<QPushButton*>().size(), 2);
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
        [&](AboutDialog& dialog) {
            AboutDialog* d = &dialog;
            // Runs inside the message box's own modal loop.
            QTimer::singleShot(0, d, [&, d] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr) {
                    ADD_FAILURE() << "no message box";
                    return;
                }
                EXPECT_EQ(box->text(),
                          QStringLiteral("System Information Is Unavailable At This Time"));
                EXPECT_EQ(box->windowTitle(), QStringLiteral("Tessarline"));
                EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
                EXPECT_EQ(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
                EXPECT_EQ(box->buttons().size(), 1);
                EXPECT_TRUE(box->button(QMessageBox::Ok)->icon().isNull());
                EXPECT_EQ(box->parentWidget(), d);
                EXPECT_TRUE(box->isModal());
                checked = true;
                box->button(QMessageBox::Ok)->click();
            });
            Child<QPushButton>(d, "cmdSysInfo")->click();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(QApplication::activeModalWidget(), d);
            d->Unload();
        },
        &ran);
    host.ShowModal();
    EXPECT_TRUE(ran);
    EXPECT_TRUE(checked);
}

} // namespace
} // namespace tessarline

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
