// Helpers for the window tests: reading back painted pixels, driving a modal loop from inside
// it, and stand-ins for the registry and the shell.
#pragma once

#include "help/core/frmAbout.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessarline::test {

// A client-sized image of what a paint function drew, read back as RGB.
class Capture {
public:
    Capture(int width, int height, const std::function<void(HDC)>& paint);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0xRRGGBB
    std::uint32_t At(int x, int y) const;

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

// Runs the steps one per timer tick on this thread, so that they run inside whatever modal
// loop the test then enters. A watchdog ends the whole program if the loop never returns,
// so that a dialog that refuses to close fails the run instead of hanging it.
class ModalDriver {
public:
    explicit ModalDriver(std::vector<std::function<void()>> steps);
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    ~ModalDriver();

    // How many steps have run.
    std::size_t Ran() const { return next_; }
    std::size_t Count() const { return steps_.size(); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);

    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    UINT_PTR tick_ = 0;
    UINT_PTR watchdog_ = 0;
};

// A registry with no keys at all.
class EmptyRegistry final : public Registry {
public:
    RegStatus RegOpenKeyExA(RegKey, const std::string&, std::uint32_t, std::uint32_t,
                            RegKey*) override {
        return kErrorFileNotFound;
    }
    RegStatus RegQueryValueExA(RegKey, const std::string&, std::uint32_t*, std::uint8_t*,
                               std::uint32_t*) override {
        return kErrorFileNotFound;
    }
    RegStatus RegCloseKey(RegKey) override { return kErrorSuccess; }
};

struct RecordingShell final : SystemShell {
    std::wstring Dir(const std::wstring&) override { return {}; }
    void StartProcess(const std::wstring& path) override { started.push_back(path); }
    void ShowMessage(const std::wstring& text, const std::wstring& caption) override {
        messages.push_back(text);
        captions.push_back(caption);
    }

    std::vector<std::wstring> started;
    std::vector<std::wstring> messages;
    std::vector<std::wstring> captions;
};

std::wstring WindowText(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// A rectangle's left, top, right and bottom, to compare in one go.
inline std::array<LONG, 4> Corners(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace tessarline::test
