#include "IndicatorArt.h"

#include <cstring>

#include "ArtPalette.h"
#include "panel/LcdLayout.h"

namespace {

// Capitals seven rows high, '#' for a dot. W needs seven columns, E five
// would crowd "EXT" and "DEG" out of their 16 pixels, so it has four.
struct Glyph {
    char letter;
    const char* rows[IndicatorHeight];
};
constexpr Glyph Font[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"####", "#...", "#...", "###.", "#...", "#...", "####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'N', {"#...#", "##..#", "##..#", "#.#.#", "#..##", "#..##", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'W', {"#.....#", "#.....#", "#..#..#", "#..#..#", "#..#..#", "#.#.#.#", ".#...#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
};

const Glyph* GlyphOf(char letter) {
    for (const Glyph& glyph : Font)
        if (glyph.letter == letter) return &glyph;
    return nullptr;
}

int GlyphWidth(const Glyph& glyph) { return int(std::strlen(glyph.rows[0])); }

// The width of a name with one blank column between letters, or -1 when the
// font lacks one of its letters.
int NameWidth(const char* name) {
    int width = -1;
    for (const char* c = name; *c; ++c) {
        const Glyph* glyph = GlyphOf(*c);
        if (!glyph) return -1;
        width += GlyphWidth(*glyph) + 1;
    }
    return width;
}

}  // namespace

bool DrawIndicatorStrip(QImage& keys) {
    for (const Indicator& indicator : Indicators) {
        for (int y = 0; y < IndicatorHeight; ++y)
            for (int x = 0; x < indicator.width; ++x)
                keys.setPixel(indicator.srcX + x, IndicatorSrcY + y, art::LcdGlass);
        const int width = NameWidth(indicator.name);
        if (width < 0 || width > indicator.width) return false;
        int x = indicator.srcX + (indicator.width - width) / 2;
        for (const char* c = indicator.name; *c; ++c) {
            const Glyph& glyph = *GlyphOf(*c);
            for (int row = 0; row < IndicatorHeight; ++row)
                for (int column = 0; column < GlyphWidth(glyph); ++column)
                    if (glyph.rows[row][column] == '#')
                        keys.setPixel(x + column, IndicatorSrcY + row, art::LcdInk);
            x += GlyphWidth(glyph) + 1;
        }
    }
    return true;
}
