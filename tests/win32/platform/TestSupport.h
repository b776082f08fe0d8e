// Helpers for the tests of the Windows platform services: scratch registry keys and folders,
// and catching the message boxes a test provokes.
#pragma once

#include "help/core/frmAbout.h"

#include <windows.h>

#include <cstdint>
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

    const std::wstring& Path() const { return path_; }
    HKEY Handle() const { return key_; }
    // Stores exactly these bytes, of this type, through the 8-bit interface.
    void SetBytes(const std::string& name, DWORD type, const std::string& bytes);

private:
    HKEY root_;
    std::wstring path_;
    HKEY key_ = nullptr;
};

// While alive, this process's HKEY_LOCAL_MACHINE is a fresh key below HKEY_CURRENT_USER, so
// that a test can set the machine's values without touching the real ones.
class ScratchMachineRoot {
public:
    ScratchMachineRoot();
    ScratchMachineRoot(const ScratchMachineRoot&) = delete;
    ScratchMachineRoot& operator=(const ScratchMachineRoot&) = delete;
    ~ScratchMachineRoot();

    // Stores exactly these bytes as the text value name of the machine's key keyPath.
    void SetValue(const std::wstring& keyPath, const std::string& name, const std::string& bytes);

private:
    ScratchKey root_;
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
// does not appear within timeoutMs.
std::optional<std::wstring> WaitForMarker(const std::wstring& path, DWORD timeoutMs = 20000);
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

// The help dialog's window and shell where a test looks at neither.
class NoWindow final : public AboutWindow {
public:
    void SetCaption(const std::wstring&) override {}
    void SetTitleLabel(const std::wstring&) override {}
    void Unload() override {}
};

class NoShell final : public SystemShell {
public:
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring&) override {}
    void ShowMessage(const std::wstring&, const std::wstring&) override {}
};

} // namespace tessarline::test
