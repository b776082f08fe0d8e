#include "app/qt/WindowFrames.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace tessarline {

namespace {

// X11: the size hints already keep the size; the Motif hints that Qt writes still offer
// resizing. Functions: move and close; decorations: a border, the title and the window menu.
void SetMotifHints(QWidget& window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return;
    }
    xcb_connection_t* c = x11->connection();
    static constexpr char kName[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof kName - 1, kName), nullptr);
    if (atom == nullptr) {
        return;
    }
    const std::uint32_t hints[5] = {0x1 | 0x2, 0x04 | 0x20, 0x02 | 0x08 | 0x10, 0, 0};
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                        atom->atom, atom->atom, 32, 5, hints);
    std::free(atom);
    xcb_flush(c);
}

// Wayland: the decorations the toolkit draws offer minimise and maximise, which a fixed window
// cannot honour, and cut the title short beside them. The windows go without them and carry
// this title bar instead: the whole title and a close button; dragging it moves the window.
class TitleBar final : public QWidget {
public:
    explicit TitleBar(QWidget& window) : QWidget(&window) {
        setObjectName(QStringLiteral("titleBar"));
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        setFixedHeight(fontMetrics().height() + 10);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::WindowTitleChange) {
            setGeometry(0, 0, window()->width(), height());
            update();
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, height() - 1, width(), height() - 1);
        p.setPen(QPen(palette().color(QPalette::ButtonText), 1.5));
        p.drawText(QRect(height(), 0, width() - 2 * height(), height()), Qt::AlignCenter,
                   window()->windowTitle());
        const QRect cross =
            CloseButton().adjusted(height() / 3, height() / 3, -height() / 3, -height() / 3);
        p.setRenderHint(QPainter::Antialiasing);
        p.drawLine(cross.topLeft(), cross.bottomRight());
        p.drawLine(cross.bottomLeft(), cross.topRight());
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && !OnClose(*event)) {
            window()->windowHandle()->startSystemMove();
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && OnClose(*event)) {
            window()->close();
        }
    }

private:
    QRect CloseButton() const { return {width() - height(), 0, height(), height()}; }
    bool OnClose(const QMouseEvent& e) const {
        return CloseButton().contains(e.position().toPoint());
    }
};

// Makes room at the top for the title bar: in the margins of a window that has a layout, or
// by moving its children down and growing it. Each showing may bring new children.
void AddTitleBar(QWidget& window) {
    auto* bar = window.findChild<QWidget*>(QStringLiteral("titleBar"), Qt::FindDirectChildrenOnly);
    if (bar == nullptr) {
        window.overrideWindowFlags(window.windowFlags() | Qt::FramelessWindowHint);
        window.windowHandle()->setFlags(window.windowFlags());
        bar = new TitleBar(window);
        if (window.layout() != nullptr) {
            QMargins margins = window.contentsMargins();
            margins.setTop(margins.top() + bar->height());
            window.setContentsMargins(margins);
            window.layout()->activate();
        }
    }
    if (window.layout() == nullptr) {
        bool moved = false;
        for (QWidget* child :
             window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child != bar && !child->property("belowTitleBar").toBool()) {
                child->move(child->x(), child->y() + bar->height());
                child->setProperty("belowTitleBar", true);
                moved = true;
            }
        }
        if (moved) {
            window.setFixedSize(window.width(), window.height() + bar->height());
        }
    }
    bar->setGeometry(0, 0, window.width(), bar->height());
    bar->raise();
    bar->show();
}

// Sees each top-level window as it is shown: its native window exists, and is not yet mapped.
class FrameFitter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Show || !object->isWidgetType()) {
            return false;
        }
        auto* window = static_cast<QWidget*>(object);
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog) {
            return false;
        }
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            SetMotifHints(*window);
        } else if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
            AddTitleBar(*window);
        }
        return false;
    }
};

} // namespace

void FitWindowFrames(QApplication& app) {
    app.installEventFilter(new FrameFitter(&app));
}

} // namespace tessarline
