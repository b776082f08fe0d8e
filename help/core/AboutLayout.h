// The help dialog's layout in twips, the same for every front end: the size of its client area
// and its place on the screen, and the places of its controls in the client area.
#pragma once

namespace tessarline {

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kAboutClientWidthTwips = 5730;
inline constexpr int kAboutClientHeightTwips = 3555;
inline constexpr int kAboutScreenLeftTwips = 2340;
inline constexpr int kAboutScreenTopTwips = 1935;

inline constexpr TwipRect kAboutImage1 = {120, 120, 735, 735};
inline constexpr TwipRect kAboutTitle = {1050, 240, 3885, 480};
inline constexpr TwipRect kAboutDescription = {1080, 720, 3885, 1290};
inline constexpr TwipRect kAboutOK = {4245, 2625, 1260, 345};
inline constexpr TwipRect kAboutSysInfo = {4260, 3075, 1245, 345};

} // namespace tessarline
