// The board view as screen readers see it through Qt's accessibility: a panel named "Board"
// holding one push button per box, and the events that tell them what changed.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"

#include <QObject>
#include <QRectF>

#include <array>
#include <functional>
#include <string>

class QAccessibleInterface;
class QWidget;

namespace tessarline {

class BoardAccessibleQt final : public QObject {
    Q_OBJECT

public:
    // Lives as a child of the view. boxArea gives a box's square in the view's logical pixels.
    BoardAccessibleQt(QWidget& view, Form1& form, const BoardInput& input,
                      std::function<QRectF(NodeIndex)> boxArea);

    // After every change the board or its keyboard focus reports: raises the events for what a
    // screen reader says differently now.
    void Changed();
    // A click the board refused with a beep.
    void Refused();

    QWidget& view() const { return view_; }
    Form1& form() const { return form_; }
    const BoardInput& input() const { return input_; }
    QRectF BoxArea(NodeIndex node) const { return boxArea_(node); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAccessibleInterface* Box(NodeIndex node) const;
    void RaiseFocus() const;

    QWidget& view_;
    Form1& form_;
    const BoardInput& input_;
    std::function<QRectF(NodeIndex)> boxArea_;
    // What was last told, to raise events only for what changed.
    std::wstring board_;
    std::array<std::wstring, kNodeCount> boxes_;
    NodeIndex focus_ = 0;
};

} // namespace tessarline
