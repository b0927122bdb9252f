// "HTX\lvFont.tga": the general font, 16 x 16 cells of 32 pixels holding the
// 256 Windows-1257 byte codes in reading order. The game advances every
// character by one cell, so each glyph is centred in its cell.
#include <algorithm>
#include <cmath>

#include "platform/MessageBox.h"
#include "tools/content/Catalogue.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Text.h"

namespace {

constexpr int kCell = 32;
constexpr int kBaseline = 24;
// The game samples each cell and 1.4 pixels of the next one: glyphs keep to
// columns 2 to 29, so that nothing of a neighbour shows beside them.
constexpr int kFirstColumn = 2;
constexpr int kUsableWidth = 28;
constexpr float kStroke = 1.6f;

// The Unicode character of a Windows-1257 byte; 0 for bytes that show nothing.
uint32_t CodePointOf(int byte) {
  if (byte < 0x21 || byte == 0x7F || byte == 0xA0) return 0;
  const std::vector<uint32_t> decoded = DecodeUtf8(Cp1257ToUtf8(std::string(1, char(byte))));
  return decoded.size() == 1 && decoded[0] != 0xFFFD ? decoded[0] : 0;
}

void Stamp(Image& atlas, const GlyphMask& mask, int x, int y, Rgba colour) {
  for (int my = 0; my < mask.height; ++my)
    for (int mx = 0; mx < mask.width; ++mx)
      if (mask.At(mx, my) > 0) atlas.Blend(x + mask.left + mx, y - mask.top + my, colour, mask.At(mx, my));
}

}  // namespace

bool BuildFont(const std::string& contentDir) {
  Font font(Font::Face::bold, 22);
  if (!font.Ok()) return false;
  Image atlas(kCell * 16, kCell * 16);
  for (int byte = 0; byte < 256; ++byte) {
    const uint32_t cp = CodePointOf(byte);
    if (cp == 0 || !font.HasGlyph(cp)) continue;
    // Every character advances by a whole cell, so each glyph is widened to
    // fill its cell (up to half as wide again) or narrowed to fit it.
    font.SetStretch(1);
    const int natural = font.Glyph(cp, kStroke).width;
    font.SetStretch(std::clamp(float(kUsableWidth - 1) / std::max(natural, 1), 0.5f, 1.5f));
    const GlyphMask outline = font.Glyph(cp, kStroke);
    const GlyphMask glyph = font.Glyph(cp);
    const int cellX = (byte % 16) * kCell;
    const int cellY = (byte / 16) * kCell;
    // Centre the inked part of the glyph (with its outline) in the cell.
    const int x = cellX + kFirstColumn + (kUsableWidth - outline.width) / 2 - outline.left;
    const int y = cellY + kBaseline;
    Stamp(atlas, outline, x, y, palette::ink);
    Stamp(atlas, glyph, x, y, palette::white);
  }
  return WriteTga(OnDisk(contentDir, "HTX\\lvFont.tga"), atlas);
}
