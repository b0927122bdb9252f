// Text for the pictures, rendered with FreeType from the DejaVu fonts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/content/Raster.h"

// A coverage bitmap (0..1) placed relative to a pen position: its top-left
// pixel lies at (pen x + left, baseline - top).
struct GlyphMask {
  int width = 0;
  int height = 0;
  int left = 0;
  int top = 0;
  std::vector<float> coverage;
  float At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : coverage[size_t(y) * width + x];
  }
};

class Font {
 public:
  enum class Face { regular, bold };
  // stretch widens (above 1) or narrows every glyph.
  Font(Face face, int pixelSize, float stretch = 1);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  bool Ok() const;
  void SetStretch(float stretch);

  // The glyph of a Unicode code point, grown by an outline of stroke pixels
  // when stroke > 0. A glyph the font lacks gives an empty mask.
  GlyphMask Glyph(uint32_t codePoint, float stroke = 0) const;
  bool HasGlyph(uint32_t codePoint) const;
  // Advance of a UTF-8 text in pixels, kerning included.
  float Measure(const std::string& utf8) const;
  // Pen position of each code point of the text, kerning included.
  std::vector<float> Pens(const std::string& utf8) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

std::vector<uint32_t> DecodeUtf8(const std::string& utf8);

enum class Align { left, centre, right };

struct TextStyle {
  Shader fill;
  float outline = 3;
  Rgba outlineColour = OutlineColour();
  float shadow = 0;  // drop shadow offset in pixels (down and right)
};

// Draws a UTF-8 line with its baseline at y; x is the left edge, the centre
// or the right edge as align says.
void DrawLabel(Image& image, const Font& font, const std::string& utf8, float x, float y,
               Align align, const TextStyle& style);
