// The help dialog's window on Qt: its frame, its five controls and the wiring of their events
// to the dialog's logic.
#pragma once

#include "help/core/frmAbout.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

namespace tessarline {

class AboutDialog final : public QDialog, public AboutWindow {
    Q_OBJECT

public:
    AboutDialog(QWidget* parent, Registry& registry, const CodePage& codePage, SystemShell& shell);

    // Loads the dialog afresh: new controls with their stored settings, the stored title, the
    // fixed size and place, then the load handler. Nothing of an earlier opening survives.
    void Load();

    // Twips as this dialog's pixels: 15 twips a pixel at 96 DPI, scaled with the screen's
    // logical DPI.
    int Px(int twips) const;

    void SetCaption(const std::wstring& text) override;
    void SetTitleLabel(const std::wstring& text) override;
    void Unload() override;
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override;

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();

    frmAbout core_;
    double scale_ = 1.0;
    QPointer<QWidget> client_;
    QPointer<QLabel> lblTitle_;
    QPointer<QPushButton> cmdOK_;
};

} // namespace tessarline
