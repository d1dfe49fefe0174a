#include "tools/demogame/figure_image.h"

#include <array>
#include <string>

namespace qv::demo {

namespace {

// Stand-in digit shapes, 5 x 7 in a 7 x 9 cell, until the glyph renderer is wired in.
constexpr std::array<std::array<const char*, 7>, 11> kShapes{{
    {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "},
    {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "},
    {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"},
    {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "},
    {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "},
    {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "},
    {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "},
    {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "},
    {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "},
    {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "},
    {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "},
}};
constexpr int kCell = 7;
constexpr Pixel kInk = MakePixel(255, 255, 255);

void Stamp(PixelArray& out, int cellX, int glyph) {
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (kShapes[glyph][y][x] == '#') {
                out.At(cellX + 1 + x, 1 + y) = kInk;
            }
        }
    }
}

} // namespace

PixelArray RenderFigure(std::uint64_t figure) {
    std::string digits = std::to_string(figure);
    PixelArray out(static_cast<std::int32_t>((digits.size() + 1) * kCell), kFigureAreaHeight);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.At(x, y) = kBackground;
        }
    }
    int cellX = 0;
    for (char d : digits) {
        Stamp(out, cellX, d - '0');
        cellX += kCell;
    }
    Stamp(out, cellX, 10);
    return out;
}

} // namespace qv::demo
