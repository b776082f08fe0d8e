// The board window on Windows: Form1's window, its menu bar, the boxes' clicks and the
// painting of the board.
#pragma once

#include "board/core/BoardInput.h"
#include "board/core/Form1.h"
#include "board/win32/BoardAccessible.h"
#include "board/win32/BoardKeyboard.h"
#include "platform/win32/Win32Ui.h"

#include <windows.h>

#include <functional>

namespace tessarline {

// Menu command identifiers.
inline constexpr UINT kMnuResetId = 1001;
inline constexpr UINT kMnuHelpId = 1002;

class MainWindow : public BoardWindow {
public:
    // endsProgram: closing the window ends the message loop of the thread.
    MainWindow(HINSTANCE instance, int showCommand, bool endsProgram = true);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow() override;

    // Creates the window, hidden, with its menu and icon; false when the system refuses.
    bool Create();
    // Raises the form's load event, which shows the window and resets the board.
    void Load();

    HWND Handle() const { return window_; }
    Form1& Form() { return form_; }
    UINT Dpi() const { return dpi_; }
    // What the Help command opens; the program start sets it.
    void SetHelpHandler(std::function<void()> handler) { help_ = std::move(handler); }

    // BoardWindow
    void Show() override;
    void Changed(const BoardNews& news) override;
    void Beep() override;
    void ShowHelp() override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void ApplyDpi(UINT dpi);
    void FitClientArea();
    TwipTransform Transform() const;
    // Paints the whole client area into dc: the board, then the boxes' captions.
    void Paint(HDC dc);

    HINSTANCE instance_;
    int showCommand_;
    bool endsProgram_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    DpiResources resources_;
    Form1 form_;
    BoardInput input_;
    std::function<void()> help_;
    BoardKeyboard keyboard_;
    BoardAccessibility access_;
};

} // namespace tessarline
