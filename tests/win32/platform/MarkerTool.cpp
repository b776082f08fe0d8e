// Stands in for the system-information tool: records that it ran, and with which command line,
// in "<its own path>.ran", then exits.
#include <windows.h>

#include <string>

int main() {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        return 1;
    }
    const std::wstring marker = std::wstring(self, length) + L".ran";
    const std::wstring partial = marker + L".part";
    const std::wstring commandLine = GetCommandLineW();
    const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    const auto bytes = static_cast<DWORD>(commandLine.size() * sizeof(wchar_t));
    const BOOL ok = WriteFile(file, commandLine.data(), bytes, &written, nullptr);
    CloseHandle(file);
    // Renamed into place, so that a reader never sees half a marker.
    return ok && written == bytes &&
                   MoveFileExW(partial.c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING)
               ? 0
               : 1;
}
