// Stands in for the system-information tool: leaves "<its own path>.ran", which holds the show
// command it was started with (-1 for none), and exits.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH];
    const std::wstring marker = std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    const std::string shown =
        std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : -1);
    const HANDLE file = CreateFileW((marker + L".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok =
        file != INVALID_HANDLE_VALUE &&
        WriteFile(file, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
    return ok && CloseHandle(file) ? 0 : 1;
}
