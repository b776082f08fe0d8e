// The help dialog's logic: its load handler, its two buttons and the system-information
// launcher, over interfaces for the dialog window, the registry and the operating system.
#pragma once

#include "help/core/Registry.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessarline {

inline constexpr std::wstring_view kSysInfoUnavailable =
    L"System Information Is Unavailable At This Time";

// The rules text shown beside the picture of the figure.
inline constexpr std::wstring_view kRulesText =
    L"You have to connect all the boxes.  Each line can only be drawn once, so be careful.  Ahh, "
    L"but that would be too easy... You have to do it so that all the faint lines become black "
    L"and you end up with the figure shown in this window.  It's the same idea as those \"draw "
    L"the shape without lifting your pen from the paper\" puzzles.";

// What a screen reader calls the picture of the figure.
inline constexpr std::wstring_view kFigureAccessName =
    L"The figure: a circle, the square inscribed in it and both diagonals";

// What the dialog's logic needs of its window.
class AboutWindow {
public:
    virtual ~AboutWindow() = default;
    virtual void SetCaption(const std::wstring& text) = 0;
    virtual void SetTitleLabel(const std::wstring& text) = 0;
    // Closes and destroys the dialog; the modal show that opened it returns.
    virtual void Unload() = 0;
    // A message box modal over the dialog, with one OK button and no icon; the dialog stays
    // open behind it.
    virtual void ShowMessage(const std::wstring& text, const std::wstring& caption) = 0;
};

// What the launcher needs of the operating system.
class SystemShell {
public:
    virtual ~SystemShell() = default;
    // The name of the ordinary file (not hidden, not system, not a directory) at path, or
    // empty text when there is none.
    virtual std::wstring Dir(const std::wstring& path) = 0;
    // Starts the program at path as an independent process, in a normal window, without
    // waiting for it. The path is the program itself, never parsed as a command line. Throws
    // std::runtime_error when it cannot be started.
    virtual void StartProcess(const std::wstring& path) = 0;
};

// Raised by GetKeyValue for a value whose data size is zero.
class InvalidRegistryData : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

class frmAbout {
public:
    static constexpr std::size_t kDataBufferSize = 1024;

    frmAbout(AboutWindow& window, Registry& registry, const CodePage& codePage, SystemShell& shell);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Finds the system-information tool through the registry and starts it, or shows the one
    // failure message. Never throws.
    void StartSysInfo();

    // Reads one registry value as text into KeyVal; false (and KeyVal empty) when the key or
    // value cannot be read. KeyName and SubKeyRef come back as they crossed the code page.
    // Throws InvalidRegistryData for zero-size data. The key is closed on every path.
    bool GetKeyValue(RegKey KeyRoot, std::wstring& KeyName, std::wstring& SubKeyRef,
                     std::wstring& KeyVal);

private:
    AboutWindow& window_;
    Registry& registry_;
    const CodePage& codePage_;
    SystemShell& shell_;
};

// "&h" followed by one to eight hexadecimal digits becomes the number's decimal text; any
// other text is returned unchanged.
std::wstring FormatGeneral(const std::wstring& text);

} // namespace tessarline
