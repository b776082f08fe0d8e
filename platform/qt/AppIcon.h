// The application icon, drawn from the figure's geometry: on the board window, on the help
// dialog and in the icon files the desktop installs.
#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace tessarline {

inline constexpr std::array<int, 3> kAppIconSizes{16, 32, 48};

// The figure, size by size pixels.
QImage AppIconImage(int size);

// The figure at every size of kAppIconSizes.
QIcon AppIcon();

} // namespace tessarline
