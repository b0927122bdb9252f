// The one palette every picture of the game is painted from.
#pragma once

#include "tools/content/Raster.h"

namespace palette {
// Sky and light
inline const Rgba skyHigh = Hex(0x3f7cc9);
inline const Rgba skyMid = Hex(0x7fb8ea);
inline const Rgba skyLow = Hex(0xcfe8f6);
inline const Rgba haze = Hex(0xffe6bd);
inline const Rgba sun = Hex(0xfff1b8);
inline const Rgba dusk = Hex(0xf29a6b);
inline const Rgba night = Hex(0x1d2a4d);
inline const Rgba cloud = Hex(0xffffff);
inline const Rgba cloudShade = Hex(0xc4d2ec);
// Land
inline const Rgba grassLight = Hex(0xa7d95e);
inline const Rgba grass = Hex(0x62ad3f);
inline const Rgba grassDark = Hex(0x2f7a3f);
inline const Rgba pine = Hex(0x2d6b4f);
inline const Rgba pineDark = Hex(0x1e4a3c);
inline const Rgba earth = Hex(0x8d5b3d);
inline const Rgba earthDark = Hex(0x5c3a2e);
inline const Rgba rock = Hex(0x9aa2ad);
inline const Rgba rockDark = Hex(0x5e6675);
inline const Rgba mountain = Hex(0x6f86b5);
inline const Rgba mountainFar = Hex(0x9db3d8);
inline const Rgba wood = Hex(0xc98b4f);
inline const Rgba woodDark = Hex(0x8a5532);
inline const Rgba woodLight = Hex(0xe8b878);
inline const Rgba rope = Hex(0xd9c08a);
// Creatures and things
inline const Rgba fur = Hex(0xd97b34);
inline const Rgba furLight = Hex(0xf2b266);
inline const Rgba cream = Hex(0xfbe6c4);
inline const Rgba scarf = Hex(0xd9483b);
inline const Rgba leather = Hex(0x7a4e32);
inline const Rgba brass = Hex(0xd6aa4c);
inline const Rgba glass = Hex(0x86d8ea);
inline const Rgba nut = Hex(0xc98a4c);
inline const Rgba cone = Hex(0xa8643a);
inline const Rgba coneDark = Hex(0x6e3c26);
inline const Rgba spine = Hex(0x6b5245);
inline const Rgba skin = Hex(0xe8c29a);
inline const Rgba shell = Hex(0xe39a5e);
inline const Rgba slug = Hex(0xb9cc6a);
inline const Rgba bee = Hex(0xffcf3f);
inline const Rgba wing = Hex(0xe6f6ff);
inline const Rgba jay = Hex(0x4f6fb0);
inline const Rgba jayLight = Hex(0xe9eef7);
inline const Rgba bat = Hex(0x6c5290);
inline const Rgba batWing = Hex(0x4a3868);
inline const Rgba storm = Hex(0x8290ad);
inline const Rgba rain = Hex(0x7fd0ec);
inline const Rgba gold = Hex(0xffcf3a);
inline const Rgba orange = Hex(0xff9c2a);
inline const Rgba red = Hex(0xe0483e);
inline const Rgba berry = Hex(0xc2365a);
inline const Rgba rune = Hex(0x7ff2e4);
inline const Rgba white = Hex(0xffffff);
inline const Rgba ink = Hex(0x2a1f2d);
inline const Rgba panel = Hex(0x3b2a40);
}  // namespace palette
