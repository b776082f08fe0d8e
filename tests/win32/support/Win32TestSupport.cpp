#include "tests/win32/support/Win32TestSupport.h"

#include "help/win32/Win32Ui.h"

#include <shlobj.h>

#include <cstdio>
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
            const std::wstring child = path + L"\\" + name;
            if (name == L"." || name == L"..") {
                continue;
            }
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

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<MessageBoxSeen> g_seen;
HHOOK g_hook = nullptr;

BOOL CALLBACK RecordChild(HWND child, LPARAM param) {
    auto& seen = *reinterpret_cast<MessageBoxSeen*>(param);
    // The box itself is not shown yet: look at each control's own visibility.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
    const std::wstring kind = ClassOf(child);
    if ((style & WS_VISIBLE) == 0) {
        return TRUE;
    }
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        seen.buttons.push_back(WindowText(child));
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
        // An icon control may be there with nothing in it.
        seen.icons += SendMessageW(child, STM_GETICON, 0, 0) != 0 ? 1 : 0;
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0 && !WindowText(child).empty()) {
        seen.text = WindowText(child);
    }
    return TRUE;
}

// A message box has finished setting itself up when its dialog procedure returns from
// WM_INITDIALOG: read it then, and close it the way OK does.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG &&
        ClassOf(message->hwnd) == L"#32770") {
        MessageBoxSeen seen;
        seen.caption = WindowText(message->hwnd);
        seen.owner = GetWindow(message->hwnd, GW_OWNER);
        EnumChildWindows(message->hwnd, RecordChild, reinterpret_cast<LPARAM>(&seen));
        g_seen.push_back(seen);
        PostMessageW(message->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

ModalDriver* g_driver = nullptr;

} // namespace

std::wstring TestProgramFolder() {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
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

void ScratchKey::SetBytes(const std::string& name, DWORD type, const std::string& bytes,
                          const std::wstring& below) {
    HKEY key = nullptr;
    Check(
        RegCreateKeyExW(key_, below.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        "RegCreateKeyExW");
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    Check(status, "RegSetValueExA");
}

ScratchMachineRoot::ScratchMachineRoot()
    : ScratchKey(HKEY_CURRENT_USER,
                 L"Software\\TessarlineTest\\Machine-" + std::to_wstring(GetCurrentProcessId())) {
    Check(RegOverridePredefKey(HKEY_LOCAL_MACHINE, Handle()), "RegOverridePredefKey");
}

ScratchMachineRoot::~ScratchMachineRoot() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    path_ = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + name + L"-" +
            std::to_wstring(GetCurrentProcessId());
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

std::optional<std::wstring> WaitForMarker(const std::wstring& path) {
    // Only a program that never started takes this long.
    const ULONGLONG until = GetTickCount64() + 20000;
    while (!MarkerExists(path)) {
        if (GetTickCount64() > until) {
            return std::nullopt;
        }
        Sleep(20);
    }
    const HANDLE file = CreateFileW((path + L".ran").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
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

ModalDriver::ModalDriver(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    g_driver = this;
    tick_ = SetTimer(nullptr, 0, 20, &ModalDriver::Tick);
    // Far beyond any dialog's normal life, only for a loop that never ends.
    watchdog_ = SetTimer(nullptr, 0, 60000, &ModalDriver::Watchdog);
}

ModalDriver::~ModalDriver() {
    KillTimer(nullptr, tick_);
    KillTimer(nullptr, watchdog_);
    g_driver = nullptr;
}

void CALLBACK ModalDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = g_driver;
    if (d != nullptr && d->next_ < d->steps_.size()) {
        // Counted first: a step may enter a nested modal loop of its own.
        d->steps_[d->next_++]();
    }
}

void CALLBACK ModalDriver::Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    std::fputs("a modal loop did not end; giving up\n", stderr);
    std::fflush(stderr);
    ExitProcess(3);
}

Capture::Capture(int width, int height, const std::function<void(HDC)>& paint)
    : width_(width), height_(height) {
    const BITMAPINFO info = TopDownBitmapInfo(width, height);
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, magenta);
    DeleteObject(magenta);
    paint(dc);
    // Read through the device context, whatever the order of the bitmap's rows in memory.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            pixels_.push_back(Rgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

std::uint32_t Capture::At(int x, int y) const {
    return pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                      static_cast<std::size_t>(x));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::array<LONG, 4> ChildCorners(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace tessarline::test
