// Build tool: writes the application icon and the help dialog's picture, drawn from the
// figure's geometry, for the Windows resource compiler.
// Usage: tessarline_art ICON.ico PICTURE.bmp

#include "app/art/IconFile.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <fstream>
#include <vector>

namespace {

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "tessarline_art: cannot write %s\n", path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessarline_art ICON.ico PICTURE.bmp\n");
        return 2;
    }
    try {
        const bool written = WriteFile(argv[1], tessarline::MakeAppIcon()) &&
                             WriteFile(argv[2], tessarline::MakeFigurePicture());
        return written ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tessarline_art: %s\n", e.what());
        return 1;
    }
}
