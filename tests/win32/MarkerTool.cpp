// Stands in for the system-information tool: leaves "<its own path>.ran" and exits.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH];
    const std::wstring marker = std::wstring(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const HANDLE file = CreateFileW((marker + L".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file) ? 0 : 1;
}
