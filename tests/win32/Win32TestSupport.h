// What the Windows tests share: a scratch machine key and folder, the marker tool that stands
// in for a started program, and steps run inside a modal loop.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tessarline::test {

inline const std::wstring kPid = std::to_wstring(GetCurrentProcessId());

inline std::wstring TestProgramFolder() {
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\'));
}

// While alive, this process's HKEY_LOCAL_MACHINE is a fresh key below HKEY_CURRENT_USER.
struct ScratchMachine {
    ScratchMachine() {
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, key);
    }
    ~ScratchMachine() {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    }
    // Stores exactly these bytes as a text value of the key below, which is created.
    bool Set(const char* below, const char* name, const std::string& bytes) const {
        return RegSetKeyValueA(key, below, name, REG_SZ, bytes.data(),
                               static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    }

    const std::wstring path = L"Software\\TessarlineTest\\Machine-" + kPid;
    HKEY key = nullptr;
};

struct ScratchFolder {
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::wstring Make(const std::wstring& below) const {
        std::filesystem::create_directories(path + L"\\" + below);
        return path + L"\\" + below;
    }

    const std::wstring path = std::filesystem::temp_directory_path() / (L"TessarlineTest-" + kPid);
};

// Copies the marker tool to path: started, it leaves the file path + ".ran".
inline bool PlaceMarkerTool(const std::wstring& path) {
    const std::wstring tool = TestProgramFolder() + L"\\tessarline_marker_tool.exe";
    return CopyFileW(tool.c_str(), path.c_str(), FALSE) != FALSE;
}

// The show command the marker tool at path was started with ("1" is a normal activated
// window), or "" when it has not run (or not yet written), given a generous time to when wait.
inline std::string Ran(const std::wstring& path, bool wait) {
    for (int tries = wait ? 1000 : 1; tries > 0; --tries, Sleep(20)) {
        std::ifstream ran(std::filesystem::path(path + L".ran"));
        std::string shown;
        if (ran && std::getline(ran, shown)) {
            return shown;
        }
    }
    return "";
}

// Runs loop, and the steps one per timer tick inside whatever modal loop it enters; returns
// whether every step ran.
inline bool WithSteps(std::vector<std::function<void()>> steps, const std::function<void()>& loop) {
    static std::vector<std::function<void()>> s_steps;
    static std::size_t s_next = 0;
    s_steps = std::move(steps);
    s_next = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        if (s_next < s_steps.size()) {
            s_steps[s_next++](); // counted first: a step may enter a modal loop of its own
        }
    });
    loop();
    KillTimer(nullptr, timer);
    return s_next == s_steps.size();
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    return std::wstring(text, static_cast<std::size_t>(GetWindowTextW(window, text, 512)));
}

} // namespace tessarline::test
