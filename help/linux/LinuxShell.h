// The launcher's file test and process start on Linux. The message box belongs to the dialog.
#pragma once

#include "help/core/frmAbout.h"

#include <QString>

#include <string>

namespace tessarline {

// Wide text as the file name Qt hands to the system; throws std::runtime_error for text that
// holds a NUL (the system would cut the name there) or is not Unicode (a lone surrogate, a
// value beyond U+10FFFF), rather than naming some other file.
QString FileSystemName(const std::wstring& text);

class LinuxShell final : public SystemShell {
public:
    // The file name when a regular file (a link to one counts) is at path; empty for a
    // directory, a hidden file (name starting with '.'), anything else or nothing.
    std::wstring Dir(const std::wstring& path) override;
    // Runs the file at the absolute path itself, with no arguments, no shell and no search of
    // PATH, detached in a session of its own and never this process's child. Throws
    // std::runtime_error when the program cannot be executed.
    void StartProcess(const std::wstring& path) override;
};

} // namespace tessarline
