// The board view as screen readers see it through Qt's accessibility: a panel named "Board"
// holding one push button per box, the events that tell them what changed, and a notification
// that speaks the board's announcements.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"

#include <QObject>
#include <QRectF>

#include <functional>

class QAccessibleInterface;
class QWidget;

namespace tessarline {

class BoardAccessibleQt final : public QObject {
    Q_OBJECT

public:
    // Lives as a child of the view. boxArea gives a box's square in the view's logical pixels.
    BoardAccessibleQt(QWidget& view, Form1& form, const BoardInput& input,
                      std::function<QRectF(NodeIndex)> boxArea);

    // The board's account of a handler: raises the events for what a screen reader says
    // differently now, and the announcement.
    void Changed(const BoardNews& news);
    // Tells the reader where the keyboard focus is again, after a command took it away.
    void RaiseFocus() const;
    // The last announcement, as the notification's name.
    const QString& Announcement() const { return announcement_; }

    QWidget& view() const { return view_; }
    Form1& form() const { return form_; }
    const BoardInput& input() const { return input_; }
    QRectF BoxArea(NodeIndex node) const { return boxArea_(node); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAccessibleInterface* Box(NodeIndex node) const;

    QWidget& view_;
    Form1& form_;
    const BoardInput& input_;
    std::function<QRectF(NodeIndex)> boxArea_;
    // An empty widget beside the board whose only use is its accessible notification.
    QWidget* notice_;
    QString announcement_;
};

} // namespace tessarline
