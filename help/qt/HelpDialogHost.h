// The Help command's side of the dialog: one shared instance, created when Help is first
// chosen and shown application-modal at every opening.
#pragma once

#include "help/core/Registry.h"
#include "help/core/frmAbout.h"
#include "help/qt/AboutDialog.h"

#include <QPointer>

namespace tessarline {

class HelpDialogHost {
public:
    // board is the main window: the dialog is its transient, so it has no task-bar entry of
    // its own. The registry and the shell must outlive the host.
    HelpDialogHost(QWidget* board, Registry& registry, SystemShell& shell);
    ~HelpDialogHost();
    HelpDialogHost(const HelpDialogHost&) = delete;
    HelpDialogHost& operator=(const HelpDialogHost&) = delete;

    // Creates the dialog the first time, loads it afresh and shows it application-modal;
    // returns when it has been closed.
    void ShowModal();

    // The shared instance, or null before the first opening.
    AboutDialog* Dialog() const { return dialog_; }

private:
    QPointer<QWidget> board_;
    Registry& registry_;
    SystemShell& shell_;
    Latin1CodePage codePage_;
    QPointer<AboutDialog> dialog_;
};

} // namespace tessarline
