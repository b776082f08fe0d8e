// The application's identity: its title and version record. Plain macros as well as C++
// constants, so that the Windows resource compiler can read the same file.
#pragma once

#define TESSARLINE_TITLE_A "Tessarline"
#define TESSARLINE_COMPANY_A "KORVEN"
#define TESSARLINE_VERSION_A "1.00"
#define TESSARLINE_VERSION_NUM 1, 0, 0, 0
#define TESSARLINE_EXE_A "Tessarline.exe"

#ifndef RC_INVOKED
#include <string_view>

namespace tessarline {

// The application title: the main window's title, the help dialog's heading and part of its
// caption, and the caption of the program's one message box.
inline constexpr std::wstring_view kAppTitle = L"Tessarline";

} // namespace tessarline
#endif
