// Helpers for the Windows tests: scratch registry keys and folders, the marker tool that
// stands in for a started program, catching message boxes, driving a modal loop from inside
// it, and reading back painted pixels.
#pragma once

#include "help/core/frmAbout.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessarline::test {

// The folder holding the test program.
std::wstring TestProgramFolder();

// A fresh key below root, created by the test and deleted with everything in it afterwards.
class ScratchKey {
public:
    ScratchKey(HKEY root, const std::wstring& path);
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey();

    HKEY Handle() const { return key_; }
    // Stores exactly these bytes, of this type, through the 8-bit interface, as the value name
    // of the key or of its subkey below.
    void SetBytes(const std::string& name, DWORD type, const std::string& bytes,
                  const std::wstring& below = L"");

private:
    HKEY root_;
    std::wstring path_;
    HKEY key_ = nullptr;
};

// While alive, this process's HKEY_LOCAL_MACHINE is a fresh key below HKEY_CURRENT_USER, so
// that a test can set the machine's values without touching the real ones.
class ScratchMachineRoot final : public ScratchKey {
public:
    ScratchMachineRoot();
    ~ScratchMachineRoot();
};

// A new empty folder under the temporary folder, removed with its contents afterwards.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();

    const std::wstring& Path() const { return path_; }
    // Creates the folder path\relative and any folders above it.
    std::wstring MakeFolder(const std::wstring& relative) const;

private:
    std::wstring path_;
};

// Copies the marker tool to path: started, it leaves path + ".ran" holding its command line.
void PlaceMarkerTool(const std::wstring& path);
// The command line the marker tool at path recorded, once its marker appears; nothing if it
// does not appear within a generous time.
std::optional<std::wstring> WaitForMarker(const std::wstring& path);
bool MarkerExists(const std::wstring& path);

// What a message box showed.
struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons; // visible buttons' texts
    int icons = 0;                     // icons shown
    HWND owner = nullptr;
};

// While alive, every message box this thread opens is recorded and closed with OK.
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;
    ~MessageBoxCatcher();

    const std::vector<MessageBoxSeen>& Seen() const;
};

// Runs the steps one per timer tick on this thread, so that they run inside whatever modal
// loop the test then enters. A watchdog ends the whole program if the loop never returns,
// so that a dialog that refuses to close fails the run instead of hanging it.
class ModalDriver {
public:
    explicit ModalDriver(std::vector<std::function<void()>> steps);
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    ~ModalDriver();

    // How many steps have run, of how many.
    std::size_t Ran() const { return next_; }
    std::size_t Count() const { return steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);

    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    UINT_PTR tick_ = 0;
    UINT_PTR watchdog_ = 0;
};

// A width by height image of what paint drew over magenta, a colour nothing here uses.
class Capture {
public:
    Capture(int width, int height, const std::function<void(HDC)>& paint);

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint32_t At(int x, int y) const; // 0xRRGGBB

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

std::wstring WindowText(HWND window);
// A child's left, top, right and bottom in its parent's client coordinates.
std::array<LONG, 4> ChildCorners(HWND child);

// The help dialog's window where a test does not look at it.
class NoWindow final : public AboutWindow {
public:
    void SetCaption(const std::wstring&) override {}
    void SetTitleLabel(const std::wstring&) override {}
    void Unload() override {}
};

// A registry with no keys at all.
class EmptyRegistry final : public Registry {
public:
    RegStatus RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                            RegKey*) override {
        return kErrorFileNotFound;
    }
    RegStatus RegQueryValueExA(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                               std::uint32_t*) override {
        return kErrorFileNotFound;
    }
    RegStatus RegCloseKey(RegKey) override { return kErrorSuccess; }
};

// A shell that starts nothing and records what it was asked.
struct RecordingShell final : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring& path) override { started.push_back(path); }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        messages.push_back(text);
        captions.push_back(caption);
    }

    std::vector<std::wstring> started;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> captions;
};

} // namespace tessarline::test
