#include "TestSupport.h"

#include <shlobj.h>

#include <stdexcept>

namespace tessarline::test {

namespace {

void Check(LONG status, const char* what) {
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error(std::string(what) + " failed: " + std::to_string(status));
    }
}

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<MessageBoxSeen> g_seen;
HHOOK g_hook = nullptr;

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK RecordChild(HWND child, LPARAM param) {
    auto& seen = *reinterpret_cast<MessageBoxSeen*>(param);
    // The box itself is not shown yet: look at each control's own visibility.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    if ((style & WS_VISIBLE) == 0) {
        return TRUE;
    }
    const std::wstring kind = ClassOf(child);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        seen.buttons.push_back(WindowText(child));
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            // An icon control may be there with nothing in it.
            seen.icons += SendMessageW(child, STM_GETICON, 0, 0) != 0 ? 1 : 0;
        } else if (!WindowText(child).empty()) {
            seen.text = WindowText(child);
        }
    }
    return TRUE;
}

// A message box has finished setting itself up when its dialog procedure returns from
// WM_INITDIALOG: read it then, and close it the way OK does.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (message->message == WM_INITDIALOG && ClassOf(message->hwnd) == L"#32770") {
            MessageBoxSeen seen;
            seen.caption = WindowText(message->hwnd);
            seen.owner = GetWindow(message->hwnd, GW_OWNER);
            EnumChildWindows(message->hwnd, RecordChild, reinterpret_cast<LPARAM>(&seen));
            g_seen.push_back(seen);
            PostMessageW(message->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

std::wstring TestProgramFolder() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self, length);
    return path.substr(0, path.find_last_of(L'\\'));
}

ScratchKey::ScratchKey(HKEY root, const std::wstring& path) : root_(root), path_(path) {
    RegDeleteTreeW(root_, path_.c_str());
    Check(RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                          nullptr),
          "RegCreateKeyExW");
}

ScratchKey::~ScratchKey() {
    RegCloseKey(key_);
    RegDeleteTreeW(root_, path_.c_str());
}

void ScratchKey::SetBytes(const std::string& name, DWORD type, const std::string& bytes) {
    Check(RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size())),
          "RegSetValueExA");
}

ScratchMachineRoot::ScratchMachineRoot()
    : root_(HKEY_CURRENT_USER, L"Software\\TessarlineTest\\Machine") {
    Check(RegOverridePredefKey(HKEY_LOCAL_MACHINE, root_.Handle()), "RegOverridePredefKey");
}

ScratchMachineRoot::~ScratchMachineRoot() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
}

void ScratchMachineRoot::SetValue(const std::wstring& keyPath, const std::string& name,
                                  const std::string& bytes) {
    HKEY key = nullptr;
    Check(RegCreateKeyExW(root_.Handle(), keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr),
          "RegCreateKeyExW");
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    Check(status, "RegSetValueExA");
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp, length) + name + L"-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(path_);
    if (!CreateDirectoryW(path_.c_str(), nullptr)) {
        throw std::runtime_error("cannot create the scratch folder");
    }
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

std::wstring ScratchFolder::MakeFolder(const std::wstring& relative) const {
    const std::wstring path = path_ + L"\\" + relative;
    SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return path;
}

void PlaceMarkerTool(const std::wstring& path) {
    const std::wstring tool = TestProgramFolder() + L"\\tessarline_marker_tool.exe";
    if (!CopyFileW(tool.c_str(), path.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the marker tool");
    }
}

bool MarkerExists(const std::wstring& path) {
    return GetFileAttributesW((path + L".ran").c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::wstring> WaitForMarker(const std::wstring& path, DWORD timeoutMs) {
    const std::wstring marker = path + L".ran";
    const ULONGLONG until = GetTickCount64() + timeoutMs;
    while (!MarkerExists(path)) {
        if (GetTickCount64() > until) {
            return std::nullopt;
        }
        Sleep(20);
    }
    const HANDLE file = CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
    CloseHandle(file);
    return text;
}

MessageBoxCatcher::MessageBoxCatcher() {
    g_seen.clear();
    g_hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    if (g_hook == nullptr) {
        throw std::runtime_error("cannot watch for message boxes");
    }
}

MessageBoxCatcher::~MessageBoxCatcher() {
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

const std::vector<MessageBoxSeen>& MessageBoxCatcher::Seen() const {
    return g_seen;
}

} // namespace tessarline::test
