#include "board/qt/BoardWindowQt.h"

#include "app/core/AppInfo.h"
#include "board/core/BoardPicture.h"
#include "board/qt/BoardAccessibleQt.h"
#include "board/qt/BoardKeysQt.h"
#include "platform/qt/AppFont.h"
#include "platform/qt/AppIcon.h"
#include "platform/qt/Bell.h"
#include "platform/qt/LayoutScale.h"
#include "platform/qt/PixelImage.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QWidget>

#include <cmath>

namespace tessarline {

namespace {

// Alt+R and Alt+H are shortcuts, so the bar sees the Alt key but not the letter: letting Alt
// go would then hand the keyboard to the bar (during the modal dialog, or after Reset), away
// from the board. While a command chosen with Alt runs and until Alt is up, the bar does not
// take it.
class CommandBarStyle final : public QProxyStyle {
public:
    explicit CommandBarStyle(const bool& altCommand) : altCommand_(altCommand) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_MenuBar_AltKeyNavigation && altCommand_) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

private:
    const bool& altCommand_;
};

} // namespace

// The client area: the rendered board with the boxes' captions on top; clicks on a box go to
// the board's logic.
class BoardView final : public QWidget {
public:
    explicit BoardView(BoardWindowQt& window) : window_(window), input_(window.form()) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFont(AppFont());
        const TwipTransform t = TwipTransform::ForDevice(LayoutScale(screen()));
        setFixedSize(ClientWidth(t), ClientHeight(t));
        // Tab and Shift+Tab move among the boxes rather than out of the board.
        setFocusPolicy(Qt::StrongFocus);
        access_ = new BoardAccessibleQt(*this, window.form(), input_,
                                        [this](NodeIndex n) { return BoxArea(n); });
    }

    BoardAccessibleQt& access() const { return *access_; }

protected:
    void paintEvent(QPaintEvent*) override {
        const double dpr = devicePixelRatioF();
        const TwipTransform t = TwipTransform::ForDevice(LayoutScale(screen()) * dpr);
        const Form1& form = window_.form();
        const PixelBuffer picture = RenderBoard(form, t);
        QImage image = WrapPixels(picture);
        image.setDevicePixelRatio(dpr);

        QPainter painter(this);
        painter.fillRect(rect(), QColor::fromRgb(ToPixel(kBoardBackColor)));
        painter.drawImage(0, 0, image);
        const int border = BoxBorderWidth(t);
        for (int n = 1; n <= kNodeCount; ++n) {
            const PixelRect r = BoxRect(n, t);
            const QRectF inside((r.x + border) / dpr, (r.y + border) / dpr,
                                (r.width - 2 * border) / dpr, (r.height - 2 * border) / dpr);
            const wchar_t caption = kBoxes[static_cast<std::size_t>(n - 1)].caption;
            painter.setPen(QColor::fromRgb(ToPixel(form.lblNode(n).ForeColor)));
            painter.drawText(inside, Qt::AlignHCenter | Qt::AlignTop,
                             QString(QChar(static_cast<char16_t>(caption))));
        }
        if (input_.FocusShown() && hasFocus()) {
            DrawBoxFocus(painter, *this, BoxArea(input_.Focus()).toAlignedRect());
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = DevicePixel(event->position());
            input_.Press(p.x(), p.y(), DeviceTransform());
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            const QPoint p = DevicePixel(event->position());
            input_.Release(p.x(), p.y(), DeviceTransform());
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        const std::optional<BoardKey> key = BoardKeyFor(*event);
        if (!key || !input_.Key(*key, event->isAutoRepeat())) {
            QWidget::keyPressEvent(event);
        }
    }
    bool focusNextPrevChild(bool) override { return false; }

private:
    // A box's square in logical pixels, as painted.
    QRectF BoxArea(NodeIndex n) const {
        const double dpr = devicePixelRatioF();
        const PixelRect r = BoxRect(n, DeviceTransform());
        return {r.x / dpr, r.y / dpr, r.width / dpr, r.height / dpr};
    }
    TwipTransform DeviceTransform() const {
        return TwipTransform::ForDevice(LayoutScale(screen()) * devicePixelRatioF());
    }
    // The device pixel that holds a point in logical pixels, so that hits match the drawn
    // pixels at any scale.
    QPoint DevicePixel(QPointF pos) const {
        const double dpr = devicePixelRatioF();
        return {static_cast<int>(std::floor(pos.x() * dpr)),
                static_cast<int>(std::floor(pos.y() * dpr))};
    }

    BoardWindowQt& window_;
    BoardInput input_;
    BoardAccessibleQt* access_;
};

BoardWindowQt::BoardWindowQt(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      form_(*this), view_(new BoardView(*this)) {
    setWindowTitle(
        QString::fromWCharArray(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())));
    setWindowIcon(AppIcon());

    // Commands on the bar itself: no menu opens. The bar stays in the window so that the
    // access keys work the same everywhere.
    QMenuBar* bar = menuBar();
    bar->setNativeMenuBar(false);
    auto* barStyle = new CommandBarStyle(altCommand_);
    barStyle->setParent(bar);
    bar->setStyle(barStyle);
    // After the bar's own filter, which is installed when Alt goes down.
    qApp->installEventFilter(this);
    reset_ = bar->addAction(QStringLiteral("&Reset"));
    reset_->setObjectName(QStringLiteral("mnuReset"));
    help_ = bar->addAction(QStringLiteral("&Help"));
    help_->setObjectName(QStringLiteral("mnuHelp"));
    connect(reset_, &QAction::triggered, this, [this] {
        LeaveAltNavigation();
        // The keyboard stays on the board: a reader hears the box first, then what the reset
        // did.
        view_->setFocus(Qt::OtherFocusReason);
        view_->access().RaiseFocus();
        form_.mnuReset_Click();
    });
    connect(help_, &QAction::triggered, this, [this] {
        LeaveAltNavigation();
        // The bar would keep Help highlighted, and focused for a reader, until the modal dialog
        // closes.
        menuBar()->setActiveAction(nullptr);
        form_.mnuHelp_Click();
    });

    setCentralWidget(view_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

BoardWindowQt::~BoardWindowQt() = default;

QWidget* BoardWindowQt::boardView() const {
    return view_;
}

void BoardWindowQt::LeaveAltNavigation() {
    altCommand_ = true;
}

bool BoardWindowQt::eventFilter(QObject* watched, QEvent* event) {
    // The bar has seen Alt go up by now; from here on Alt alone enters the bar again.
    if (altCommand_ && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt) {
        altCommand_ = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void BoardWindowQt::Show() {
    show();
}

void BoardWindowQt::Changed(const BoardNews& news) {
    if (news.picture) {
        view_->update();
    }
    view_->access().Changed(news);
}

void BoardWindowQt::Beep() {
    if (beepHandler_) {
        beepHandler_();
    } else {
        Bell();
    }
}

void BoardWindowQt::ShowHelp() {
    if (helpHandler_) {
        helpHandler_();
    }
}

} // namespace tessarline
