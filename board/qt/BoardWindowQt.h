// The board's main window on Qt 6: a fixed-size window with the two menu commands and the board
// view, serving the portable Form1 logic.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"

#include <QMainWindow>

#include <functional>

class QAction;

namespace tessarline {

class BoardView;

class BoardWindowQt : public QMainWindow, public BoardWindow {
    Q_OBJECT

public:
    explicit BoardWindowQt(QWidget* parent = nullptr);
    ~BoardWindowQt() override;

    Form1& form() { return form_; }
    const Form1& form() const { return form_; }

    // The widget that shows the figure and takes the clicks on the boxes.
    QWidget* boardView() const;
    QAction* resetAction() const { return reset_; }
    QAction* helpAction() const { return help_; }

    // Runs when the Help command is chosen; until one is set, Help does nothing.
    void setHelpHandler(std::function<void()> handler) { helpHandler_ = std::move(handler); }
    // Replaces the platform alert, so that the alerts can be observed.
    void setBeepHandler(std::function<void()> handler) { beepHandler_ = std::move(handler); }

    // BoardWindow.
    void Show() override;
    void Changed(const BoardNews& news) override;
    void Beep() override;
    void ShowHelp() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LeaveAltNavigation();

    Form1 form_;
    BoardView* view_;
    QAction* reset_;
    QAction* help_;
    std::function<void()> helpHandler_;
    std::function<void()> beepHandler_;
    // A command chosen with Alt is running or Alt is still down after it.
    bool altCommand_ = false;
};

} // namespace tessarline
