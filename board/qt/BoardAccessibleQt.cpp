#include "board/qt/BoardAccessibleQt.h"

#include "board/core/BoardAccess.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tessarline {

namespace {

QString ToQString(const std::wstring& text) {
    return QString::fromStdWString(text);
}

// One box: a push button whose Press clicks it, as the mouse does.
class BoxAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    BoxAccessible(BoardAccessibleQt& board, NodeIndex node) : board_(&board), node_(node) {}

    bool isValid() const override { return !board_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return isValid() ? board_->view().window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return isValid() ? QAccessible::queryAccessibleInterface(&board_->view()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return ToQString(BoxName(node_));
        case QAccessible::Description:
            return ToQString(BoxDescription(board_->form(), node_));
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const QRect area = board_->BoxArea(node_).toAlignedRect();
        return area.translated(board_->view().mapToGlobal(QPoint(0, 0)));
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.focused = isValid() && board_->view().hasFocus() && board_->input().Focus() == node_;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (isValid() && name == pressAction()) {
            board_->form().lblNode_Click(node_);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QString::number(node_)} : QStringList{};
    }

private:
    QPointer<BoardAccessibleQt> board_;
    NodeIndex node_;
};

// The view: a panel named "Board" whose description counts the traced edges.
class BoardPanelAccessible final : public QAccessibleWidget {
public:
    explicit BoardPanelAccessible(BoardAccessibleQt& board)
        : QAccessibleWidget(&board.view(), QAccessible::Pane), board_(&board) {
        for (int i = 0; i < kNodeCount; ++i) {
            auto* box = new BoxAccessible(board, static_cast<NodeIndex>(i + 1));
            ids_[static_cast<std::size_t>(i)] = QAccessible::registerAccessibleInterface(box);
        }
    }
    ~BoardPanelAccessible() override {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QString text(QAccessible::Text t) const override {
        if (board_.isNull()) {
            return {};
        }
        switch (t) {
        case QAccessible::Name:
            return QString::fromWCharArray(kBoardAccessName);
        case QAccessible::Description:
            return ToQString(BoardDescription(board_->form()));
        default:
            return QAccessibleWidget::text(t);
        }
    }
    int childCount() const override { return kNodeCount; }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < kNodeCount
                   ? QAccessible::accessibleInterface(ids_[static_cast<std::size_t>(index)])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        for (int i = 0; i < kNodeCount; ++i) {
            if (child(i) == c) {
                return i;
            }
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < kNodeCount; ++i) {
            if (child(i)->rect().contains(x, y)) {
                return child(i);
            }
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (board_.isNull() || !board_->view().hasFocus()) {
            return nullptr;
        }
        return child(board_->input().Focus() - 1);
    }

private:
    QPointer<BoardAccessibleQt> board_;
    std::array<QAccessible::Id, kNodeCount> ids_{};
};

// The board's announcements: Qt 6.4 has no announcement event, and Orca 43 speaks neither name
// nor description changes through Qt's bridge, but it speaks a notification the moment it is
// shown, wherever the focus is. The widget never paints; each announcement raises its show event.
constexpr char kNoticeName[] = "boardNotice";

class NoticeAccessible final : public QAccessibleWidget {
public:
    NoticeAccessible(QWidget* widget, BoardAccessibleQt& board)
        : QAccessibleWidget(widget, QAccessible::Notification), board_(&board) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && !board_.isNull() ? board_->Announcement() : QString();
    }

private:
    QPointer<BoardAccessibleQt> board_;
};

QAccessibleInterface* BoardFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget != nullptr && widget->objectName() == QLatin1String(kNoticeName)) {
        auto* board = widget->parentWidget()->findChild<BoardAccessibleQt*>();
        return board != nullptr ? new NoticeAccessible(widget, *board) : nullptr;
    }
    auto* view = widget;
    auto* board = view != nullptr
                      ? view->findChild<BoardAccessibleQt*>(QString(), Qt::FindDirectChildrenOnly)
                      : nullptr;
    return board != nullptr ? new BoardPanelAccessible(*board) : nullptr;
}

void Raise(QAccessibleInterface* target, QAccessible::Event type) {
    if (target != nullptr) {
        QAccessibleEvent event(target, type);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace

BoardAccessibleQt::BoardAccessibleQt(QWidget& view, Form1& form, const BoardInput& input,
                                     std::function<QRectF(NodeIndex)> boxArea)
    : QObject(&view), view_(view), form_(form), input_(input), boxArea_(std::move(boxArea)) {
    static const bool installed = [] {
        QAccessible::installFactory(BoardFactory);
        return true;
    }();
    (void)installed;
    view.installEventFilter(this);
    // Beside the view, in its window, so that the board panel keeps its four buttons alone.
    notice_ = new QWidget(view.parentWidget() != nullptr ? view.parentWidget() : &view);
    notice_->setObjectName(QLatin1String(kNoticeName));
    notice_->setFixedSize(0, 0);
    notice_->setFocusPolicy(Qt::NoFocus);
    notice_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QAccessibleInterface* BoardAccessibleQt::Box(NodeIndex node) const {
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(&view_);
    return panel != nullptr ? panel->child(node - 1) : nullptr;
}

void BoardAccessibleQt::RaiseFocus() const {
    if (QAccessible::isActive() && view_.hasFocus()) {
        Raise(Box(input_.Focus()), QAccessible::Focus);
    }
}

void BoardAccessibleQt::Changed(const BoardNews& news) {
    // Interfaces are made only for a screen reader.
    if (!QAccessible::isActive()) {
        announcement_ = QString::fromStdWString(news.announcement);
        return;
    }
    if (news.focusMoved) {
        RaiseFocus();
    }
    if (news.boardDescription) {
        Raise(QAccessible::queryAccessibleInterface(&view_), QAccessible::DescriptionChanged);
    }
    for (NodeIndex n = 1; n <= kNodeCount; ++n) {
        if (news.boxDescription[static_cast<std::size_t>(n - 1)]) {
            Raise(Box(n), QAccessible::DescriptionChanged);
        }
    }
    if (!news.announcement.empty()) {
        announcement_ = QString::fromStdWString(news.announcement);
        Raise(QAccessible::queryAccessibleInterface(notice_), QAccessible::ObjectShow);
    }
}

bool BoardAccessibleQt::eventFilter(QObject* watched, QEvent* event) {
    // Qt tells the panel's focus itself once the view has it; the box's focus goes after that.
    if (watched == &view_ && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, this, [this] { RaiseFocus(); });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessarline
