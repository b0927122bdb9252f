#include "tools/content/Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <cmath>
#include <cstdio>

namespace {

const char* FontPath(Font::Face face) {
  return face == Font::Face::bold ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                                  : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

}  // namespace

struct Font::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FT_Stroker stroker = nullptr;
};

Font::Font(Face face, int pixelSize, float stretch) : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) return;
  if (FT_New_Face(impl_->library, FontPath(face), 0, &impl_->face) != 0) {
    std::fprintf(stderr, "cannot open the font %s\n", FontPath(face));
    impl_->face = nullptr;
    return;
  }
  FT_Set_Pixel_Sizes(impl_->face, 0, FT_UInt(pixelSize));
  SetStretch(stretch);
  FT_Stroker_New(impl_->library, &impl_->stroker);
}

void Font::SetStretch(float stretch) {
  if (!Ok()) return;
  FT_Matrix widen{FT_Fixed(std::lround(stretch * 0x10000)), 0, 0, 0x10000};
  FT_Set_Transform(impl_->face, &widen, nullptr);
}

Font::~Font() {
  if (impl_->stroker) FT_Stroker_Done(impl_->stroker);
  if (impl_->face) FT_Done_Face(impl_->face);
  if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool Font::Ok() const { return impl_->face != nullptr; }

bool Font::HasGlyph(uint32_t codePoint) const {
  return Ok() && FT_Get_Char_Index(impl_->face, codePoint) != 0;
}

GlyphMask Font::Glyph(uint32_t codePoint, float stroke) const {
  GlyphMask mask;
  if (!HasGlyph(codePoint)) return mask;
  FT_Face face = impl_->face;
  if (FT_Load_Glyph(face, FT_Get_Char_Index(face, codePoint), FT_LOAD_NO_BITMAP) != 0) return mask;
  FT_Glyph glyph = nullptr;
  if (FT_Get_Glyph(face->glyph, &glyph) != 0) return mask;
  if (stroke > 0) {
    FT_Stroker_Set(impl_->stroker, FT_Fixed(std::lround(stroke * 64)), FT_STROKER_LINECAP_ROUND,
                   FT_STROKER_LINEJOIN_ROUND, 0);
    FT_Glyph_StrokeBorder(&glyph, impl_->stroker, 0, 1);
  }
  if (FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1) == 0) {
    const FT_BitmapGlyph bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(glyph);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    mask.width = int(bitmap.width);
    mask.height = int(bitmap.rows);
    mask.left = bitmapGlyph->left;
    mask.top = bitmapGlyph->top;
    mask.coverage.resize(size_t(mask.width) * mask.height);
    for (int y = 0; y < mask.height; ++y)
      for (int x = 0; x < mask.width; ++x)
        mask.coverage[size_t(y) * mask.width + x] = bitmap.buffer[y * bitmap.pitch + x] / 255.0f;
  }
  FT_Done_Glyph(glyph);
  return mask;
}

std::vector<uint32_t> DecodeUtf8(const std::string& utf8) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < utf8.size();) {
    const uint8_t c = uint8_t(utf8[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    ++i;
    for (; extra > 0 && i < utf8.size(); --extra, ++i) cp = (cp << 6) | (uint8_t(utf8[i]) & 0x3F);
    out.push_back(cp);
  }
  return out;
}

namespace {

struct Placed {
  uint32_t codePoint;
  float x;
};

std::vector<Placed> Layout(FT_Face face, const std::string& utf8, float* width) {
  std::vector<Placed> placed;
  float pen = 0;
  FT_UInt previous = 0;
  for (uint32_t cp : DecodeUtf8(utf8)) {
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (previous && index) {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern);
      pen += kern.x / 64.0f;
    }
    placed.push_back({cp, pen});
    FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP);
    pen += face->glyph->advance.x / 64.0f;
    previous = index;
  }
  *width = pen;
  return placed;
}

}  // namespace

float Font::Measure(const std::string& utf8) const {
  if (!Ok()) return 0;
  float width = 0;
  Layout(impl_->face, utf8, &width);
  return width;
}

std::vector<float> Font::Pens(const std::string& utf8) const {
  std::vector<float> pens;
  if (!Ok()) return pens;
  float width = 0;
  for (const Placed& p : Layout(impl_->face, utf8, &width)) pens.push_back(p.x);
  return pens;
}

void DrawLabel(Image& image, const Font& font, const std::string& utf8, float x, float y,
               Align align, const TextStyle& style) {
  const float width = font.Measure(utf8);
  const float left = align == Align::left ? x : align == Align::centre ? x - width / 2 : x - width;
  const std::vector<uint32_t> codePoints = DecodeUtf8(utf8);
  const std::vector<float> pens = font.Pens(utf8);
  auto stamp = [&](const GlyphMask& mask, float penX, float dx, float dy, auto colourAt) {
    const int ox = int(std::lround(left + penX + dx)) + mask.left;
    const int oy = int(std::lround(y + dy)) - mask.top;
    for (int my = 0; my < mask.height; ++my)
      for (int mx = 0; mx < mask.width; ++mx) {
        const float c = mask.At(mx, my);
        if (c > 0) image.Blend(ox + mx, oy + my, colourAt(Vec{ox + mx + 0.5f, oy + my + 0.5f}), c);
      }
  };
  const Rgba shadowColour{0, 0, 0, 0.45f};
  if (style.shadow > 0) {
    for (size_t i = 0; i < codePoints.size(); ++i)
      stamp(font.Glyph(codePoints[i], style.outline), pens[i], style.shadow, style.shadow,
            [&](Vec) { return shadowColour; });
  }
  if (style.outline > 0) {
    for (size_t i = 0; i < codePoints.size(); ++i)
      stamp(font.Glyph(codePoints[i], style.outline), pens[i], 0, 0,
            [&](Vec) { return style.outlineColour; });
  }
  for (size_t i = 0; i < codePoints.size(); ++i)
    stamp(font.Glyph(codePoints[i]), pens[i], 0, 0,
          [&](Vec p) { return style.fill(p, -10, Vec{0, 0}); });
}
