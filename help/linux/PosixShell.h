// The launcher's file test and process start on a POSIX system. The message box needs a window
// toolkit and is left to the front end.
#pragma once

#include "help/core/frmAbout.h"

#include <string>

namespace tessarline {

// Wide text as UTF-8 bytes for the file system; throws std::runtime_error for text that is not
// Unicode (a lone surrogate or a value beyond U+10FFFF) or that holds a NUL.
std::string ToFileSystemBytes(const std::wstring& text);

class PosixShell : public SystemShell {
public:
    // The file name when a regular file (a link to one counts) is at path; empty for a
    // directory, a hidden file (name starting with '.'), anything else or nothing.
    std::wstring Dir(const std::wstring& path) override;
    // Runs the file at path itself (argv = {path}, no shell, no search of PATH) in a new
    // session, detached: its parent exits at once and is reaped here, so the tool is never this
    // process's child and leaves no zombie. Throws std::runtime_error when the program cannot be
    // executed.
    void StartProcess(const std::wstring& path) override;
};

} // namespace tessarline
