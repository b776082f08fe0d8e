#include "help/qt/HelpDialogHost.h"

#include "help/qt/AboutDialog.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

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

void QtSystemShell::ShowMessage(const std::wstring& text, const std::wstring& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdWString(caption),
                    QString::fromStdWString(text), QMessageBox::Ok,
                    QApplication::activeModalWidget());
    box.setObjectName(QStringLiteral("SysInfoMessage"));
    // A plain OK, as the system's own message box shows it: no picture on the button either.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

} // namespace tessarline
