#pragma once
// A tiny bitmap font for the labels the writers draw into images: digits, '+', '-', '°', 'C'
// and the lower-case letters of "brightness". Drawn from tables compiled into the program, so
// an image comes out the same on every machine, with or without a display or fonts installed.
// Each glyph is 5 x 7 pixels on a 6-pixel advance, with two rows below the baseline for 'g',
// and every pixel is drawn at `scale` x `scale` screen pixels.
#include <QImage>
#include <QString>

namespace palettor {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;      // from the top of a digit to the baseline
inline constexpr int kGlyphCellHeight = 9;  // with the descender
inline constexpr int kGlyphAdvance = 6;

// Width of `text` in pixels, at scale 1 and multiplied by `scale`; characters without a glyph
// take a blank advance.
int PixelTextWidth(const QString& text, int scale);

// Draws `text` with its top-left corner at (left, top), left to right.
void DrawPixelText(QImage& image, int left, int top, const QString& text, QRgb ink, int scale);

// Draws `text` turned a quarter to the left, reading from the bottom up: the glyph cell's top
// edge faces left, its first character starts at `bottom`, and the text occupies columns
// left ... left + kGlyphCellHeight * scale - 1.
void DrawPixelTextUpwards(QImage& image, int left, int bottom, const QString& text, QRgb ink, int scale);

}  // namespace palettor
