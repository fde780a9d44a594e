#include "PixelFont.h"

#include <array>

namespace palettor {

namespace {

struct Glyph {
  char32_t character;
  std::array<const char*, kGlyphCellHeight> rows;  // '#' is ink
};

// clang-format off
constexpr Glyph kGlyphs[] = {
    {U'0', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###.", ".....", "....."}},
    {U'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {U'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", ".....", "....."}},
    {U'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###.", ".....", "....."}},
    {U'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", ".....", "....."}},
    {U'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", ".....", "....."}},
    {U'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", ".....", "....."}},
    {U'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", ".....", "....."}},
    {U'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", ".....", "....."}},
    {U'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", ".....", "....."}},
    {U'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", ".....", ".....", "....."}},
    {U'-', {".....", ".....", ".....", "#####", ".....", ".....", ".....", ".....", "....."}},
    {U'\u00b0', {".##..", "#..#.", "#..#.", ".##..", ".....", ".....", ".....", ".....", "....."}},
    {U'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###.", ".....", "....."}},
    {U'b', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "####.", ".....", "....."}},
    {U'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."}},
    {U'g', {".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."}},
    {U'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."}},
    {U'i', {"..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {U'n', {".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#", ".....", "....."}},
    {U'r', {".....", ".....", "#.##.", "##..#", "#....", "#....", "#....", ".....", "....."}},
    {U's', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {U't', {".#...", ".#...", "###..", ".#...", ".#...", ".#..#", "..##.", ".....", "....."}},
};
// clang-format on

const Glyph* GlyphOf(char32_t character) {
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.character == character) return &glyph;
  }
  return nullptr;
}

void FillSquare(QImage& image, int left, int top, int size, QRgb ink) {
  for (int y = top; y < top + size; ++y) {
    if (y < 0 || y >= image.height()) continue;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = left; x < left + size; ++x) {
      if (x >= 0 && x < image.width()) line[x] = ink;
    }
  }
}

// Calls plot(glyphX, glyphY) for every ink pixel of every character, glyphX counted along the
// text from its start.
template <typename Plot>
void ForEachInkPixel(const QString& text, Plot plot) {
  int start = 0;
  for (const char32_t character : text.toUcs4()) {
    if (const Glyph* glyph = GlyphOf(character)) {
      for (int row = 0; row < kGlyphCellHeight; ++row) {
        for (int column = 0; column < kGlyphWidth; ++column) {
          if (glyph->rows[static_cast<std::size_t>(row)][column] == '#') plot(start + column, row);
        }
      }
    }
    start += kGlyphAdvance;
  }
}

}  // namespace

int PixelTextWidth(const QString& text, int scale) {
  const auto characters = static_cast<int>(text.toUcs4().size());
  return characters == 0 ? 0 : (characters * kGlyphAdvance - (kGlyphAdvance - kGlyphWidth)) * scale;
}

void DrawPixelText(QImage& image, int left, int top, const QString& text, QRgb ink, int scale) {
  ForEachInkPixel(text, [&](int x, int y) { FillSquare(image, left + x * scale, top + y * scale, scale, ink); });
}

void DrawPixelTextUpwards(QImage& image, int left, int bottom, const QString& text, QRgb ink, int scale) {
  ForEachInkPixel(text,
                  [&](int x, int y) { FillSquare(image, left + y * scale, bottom - (x + 1) * scale + 1, scale, ink); });
}

}  // namespace palettor
