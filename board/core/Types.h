// Basic value types shared by the board and the help dialog.
#pragma once

#include <cstdint>

namespace tessarline {

// A colour as &H00BBGGRR (red in the low byte). A value &H800000nn names system colour nn.
using Colour = std::uint32_t;

// A node (box) index, 1 to 4.
using NodeIndex = std::int16_t;

inline constexpr Colour kSystemColourFlag = 0x80000000u;
inline constexpr Colour kSysWindowBackground = 0x80000005u;
inline constexpr Colour kSysWindowText = 0x80000008u;

inline constexpr Colour kWhite = 0x00FFFFFFu;
inline constexpr Colour kBlack = 0x00000000u;

// Resolves system colours with the standard desktop scheme; other values pass unchanged.
constexpr Colour ResolveColour(Colour c) {
    if (c == kSysWindowBackground) {
        return kWhite;
    }
    if (c == kSysWindowText) {
        return kBlack;
    }
    return c & 0x00FFFFFFu;
}

constexpr std::uint8_t RedOf(Colour c) {
    return static_cast<std::uint8_t>(c & 0xFFu);
}
constexpr std::uint8_t GreenOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFFu);
}
constexpr std::uint8_t BlueOf(Colour c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFFu);
}

// A point in twips, from the top-left corner of a client area, y growing downwards.
struct TwipPoint {
    int x;
    int y;
};

} // namespace tessarline
