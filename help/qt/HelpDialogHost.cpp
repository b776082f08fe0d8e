#include "help/qt/HelpDialogHost.h"

#include "help/qt/AboutDialog.h"

namespace tessarline {

HelpDialogHost::HelpDialogHost(QWidget* board, Registry& registry, SystemShell& shell)
    : board_(board), registry_(registry), shell_(shell) {}

HelpDialogHost::~HelpDialogHost() {
    delete dialog_;
}

void HelpDialogHost::ShowModal() {
    if (dialog_ == nullptr) {
        dialog_ = new AboutDialog(board_, registry_, codePage_, shell_);
    } else if (dialog_->isVisible()) {
        // Already open (its modal loop keeps the Help command from getting here): loading it
        // again would reset it under the user.
        return;
    }
    dialog_->Load();
    dialog_->exec();
}

} // namespace tessarline
