// Full-screen pictures: the two splash pictures, the loading title, the
// exit prompt, the menu's load and bonus messages with their buttons, the
// options screen and the statistics screen.
#include <string>

#include "tools/content/Catalogue.h"
#include "tools/content/Figures.h"
#include "tools/content/ImageFiles.h"
#include "tools/content/Palette.h"
#include "tools/content/PictureGroups.h"
#include "tools/content/Scenery.h"
#include "tools/content/Text.h"

namespace {

TextStyle Heading() {
  return {VerticalSoft(Mix(palette::gold, palette::white, 0.5f), palette::orange, 0, 600), 5, palette::ink, 4};
}
TextStyle Body() { return {Flat(palette::cream), 2.5f, palette::ink, 2}; }

// Darkens a whole picture (for text panels over a scene).
void Dim(Image& image, float amount) {
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) image.Blend(x, y, Hex(0x140c1c), amount);
}

HeroPose Cheering() {
  HeroPose pose;
  pose.armFront = {1.9f, -0.5f};
  pose.armBack = {2.3f, -0.4f};
  pose.legFront = {0.2f, -0.3f};
  pose.legBack = {-0.15f, -0.1f};
  pose.cheer = true;
  pose.scarfLift = 0.5f;
  pose.scarfPhase = 2;
  pose.tail = 0.1f;
  return pose;
}

HeroPose Leaping() {
  HeroPose pose;
  pose.grounded = false;
  pose.hipY = -30;
  pose.lean = 0.35f;
  pose.legFront = {1.2f, -1.4f};
  pose.legBack = {-0.6f, -0.4f};
  pose.armFront = {2.2f, 0.1f};
  pose.armBack = {-1.0f, 0.5f};
  pose.tail = -0.5f;
  pose.scarfLift = 0.2f;
  pose.scarfPhase = 1;
  pose.cheer = true;
  return pose;
}

// First splash: the isles by night and the line that opens the story.
Image StorySplash() {
  Image image(800, 600);
  PaintSky(image, Hex(0x0b1029), palette::night, Hex(0x46507e), 0.65f);
  PaintStars(image, 301, 160, 420);
  PaintGlow(image, {640, 130}, 200, Hex(0xdfe8ff), 0.3f);
  Paint(image, Circle({640, 130}, 46), Soft(Hex(0xf4f2de), 12), 0);
  for (int k = 0; k < 6; ++k)
    PaintCloud(image, {k * 150.0f + 20, 520.0f + 15 * (k % 2)}, 300, 310 + k, Hex(0x8f9ac8), Hex(0x4a5484));
  PaintIsland(image, {250, 300}, 220, 320);
  PaintIsland(image, {560, 360}, 140, 321);
  PaintIsland(image, {90, 200}, 80, 322);
  Dim(image, 0.25f);
  const Font big(Font::Face::bold, 34);
  const Font small(Font::Face::regular, 24);
  DrawLabel(image, big, "High above the clouds", 400, 470, Align::centre, Body());
  DrawLabel(image, big, "drift the Pine Isles.", 400, 515, Align::centre, Body());
  DrawLabel(image, small, "Someone has to look after them.", 400, 560, Align::centre,
            {Flat(Mix(palette::cream, palette::skyLow, 0.5f)), 2, palette::ink, 0});
  return image;
}

// Second splash: the title with Virko leaping.
Image TitleSplash() {
  Image image(800, 600);
  PaintSky(image, palette::skyHigh, palette::skyMid, palette::skyLow, 0.55f);
  PaintGlow(image, {150, 110}, 260, palette::sun, 0.6f);
  for (int k = 0; k < 6; ++k)
    PaintCloud(image, {k * 160.0f, 540.0f + 20 * (k % 2)}, 320, 330 + k, palette::white, palette::cloudShade);
  PaintIsland(image, {660, 420}, 200, 340);
  PaintIsland(image, {110, 330}, 120, 341);
  const Font title(Font::Face::bold, 140);
  const Font line(Font::Face::bold, 32);
  DrawLabel(image, title, "VIRKO", 400, 200, Align::centre, Heading());
  DrawLabel(image, line, "a squirrel aviator of the Pine Isles", 400, 250, Align::centre, Body());
  DrawHero(Pen(image, {400, 520}, 2.3f), Leaping());
  return image;
}

Image LoadingTitle() {
  Image image(800, 600);
  PaintSky(image, palette::skyMid, palette::skyLow, palette::haze, 0.6f);
  PaintRidge(image, 330, 150, 350, palette::mountainFar, Mix(palette::mountainFar, palette::haze, 0.5f), true);
  PaintForest(image, 410, 70, 351, Mix(palette::pine, palette::mountain, 0.4f), 24);
  PaintIsland(image, {400, 440}, 420, 352, false);
  DrawHero(Pen(image, {400, 437}, 1.6f), Leaping());
  const Font level(Font::Face::bold, 36);
  const Font name(Font::Face::bold, 64);
  DrawLabel(image, level, "Island 1", 400, 70, Align::centre, Body());
  DrawLabel(image, name, "The Pine Isles", 400, 140, Align::centre, Heading());
  PaintMessagePanel(image, 60, 468, 740, 588);
  const Font keys(Font::Face::bold, 20);
  const TextStyle text = Body();
  DrawLabel(image, keys, "\u2190 \u2192  walk      Alt  jump      Ctrl  throw a nut", 400, 512, Align::centre, text);
  DrawLabel(image, keys, "\u2191  look up      Esc  leave the game", 400, 548, Align::centre, text);
  DrawLabel(image, Font(Font::Face::regular, 16), "Loading\u2026", 724, 580, Align::right,
            {Flat(palette::cloudShade), 0, palette::ink, 0});
  return image;
}

// The exit prompt, shown at half strength over the running game; its back
// and exit buttons sit at (290, 500) and (410, 500). Black around a dark
// panel with white text keeps it readable with the game showing through.
Image ExitPrompt() {
  Image image(800, 600);
  image.Fill(Hex(0x000000));
  const Shape panel = RoundBox({400, 400}, 215, 170, 22);
  Paint(image, panel, Flat(palette::woodLight), 0);
  Paint(image, Grow(panel, -8), Flat(Hex(0x08040c)), 0);
  const Font big(Font::Face::bold, 46);
  const Font small(Font::Face::bold, 26);
  const TextStyle white{Flat(palette::white), 0, palette::ink, 0};
  DrawLabel(image, big, "Leave the isles?", 400, 320, Align::centre, {Flat(palette::gold), 0, palette::ink, 0});
  DrawLabel(image, small, "Back: keep flying", 400, 385, Align::centre, white);
  DrawLabel(image, small, "Exit: end the game", 400, 425, Align::centre, white);
  return image;
}

// The menu's load message; its back button sits at (330, 500).
Image LoadMessage() {
  Image image = MenuPanel(0);
  Dim(image, 0.35f);
  PaintMessagePanel(image, 140, 120, 660, 560);
  const Font big(Font::Face::bold, 42);
  const Font small(Font::Face::regular, 23);
  DrawLabel(image, big, "Load", 400, 200, Align::centre, Heading());
  DrawLabel(image, small, "There is no saved flight to load.", 400, 270, Align::centre, Body());
  DrawLabel(image, small, "Every journey over the Pine Isles", 400, 320, Align::centre, Body());
  DrawLabel(image, small, "starts afresh on the first island.", 400, 352, Align::centre, Body());
  DrawPineCone(Pen(image, {0, 0}, 1), {400, 425}, 60, 0.2f);
  return image;
}

// The bonus screen: who is who on the isles. Its credits and back buttons
// sit at (410, 500) and (290, 500).
Image BonusMessage() {
  Image image = MenuPanel(1);
  Dim(image, 0.4f);
  PaintMessagePanel(image, 30, 20, 770, 580);
  const Font big(Font::Face::bold, 40);
  const Font name(Font::Face::bold, 19);
  const Font note(Font::Face::regular, 15);
  DrawLabel(image, big, "Who is who on the isles", 400, 82, Align::centre, Heading());
  struct Entry {
    int type;
    const char* name;
    const char* note;
  };
  const Entry entries[] = {{0, "Virko", "flies, leaps, throws nuts"}, {1, "Hedgehog", "follows you and snaps"},
                           {2, "Snail", "slow, takes two nuts"},      {3, "Bee", "10 points"},
                           {4, "Jay", "15 points"},                   {5, "Bat", "20 points, takes two nuts"},
                           {6, "Rain cloud", "drifts through walls"}};
  for (int i = 0; i < 7; ++i) {
    const float x = 110.0f + (i % 4) * 193;
    const float y = i < 4 ? 200.0f : 365.0f;
    const float cx = i < 4 ? x : x + 96;
    const Vec feet{cx, y + 30};
    switch (entries[i].type) {
      case 0: {
        HeroPose pose;
        pose.legFront = {0.12f, -0.22f};
        pose.legBack = {-0.1f, -0.12f};
        pose.armFront = {0.5f, 0.6f};
        DrawHero(Pen(image, feet, 1.15f), pose);
        break;
      }
      case 1: DrawHedgehog(Pen(image, feet, 1), 0.25f, 0); break;
      case 2: DrawSnail(Pen(image, feet, 1), 0.25f); break;
      case 3: DrawBee(Pen(image, {cx, y - 15}, 1.2f), 0.1f); break;
      case 4: DrawBird(Pen(image, {cx, y - 15}, 1.1f), 0.75f); break;
      case 5: DrawBat(Pen(image, {cx, y - 15}, 1.1f), 0.75f); break;
      default: DrawRainCloud(Pen(image, {cx, y - 20}, 1.1f), 0.3f); break;
    }
    DrawLabel(image, name, entries[i].name, cx, y + 55, Align::centre, Body());
    DrawLabel(image, note, entries[i].note, cx, y + 76, Align::centre,
              {Flat(Mix(palette::cream, palette::skyLow, 0.4f)), 2, palette::ink, 0});
  }
  return image;
}

// Options: the title picture carries the labels of the three bars, whose
// grooves lie at x 400 to 600 and y 176, 240 and 300. The game writes the
// brightness (current and stored) at (100, 180) and (100, 200).
Image OptionsTitle() {
  Image image = MenuPanel(3);
  Dim(image, 0.45f);
  PaintMessagePanel(image, 40, 40, 760, 460);
  const Font big(Font::Face::bold, 52);
  const Font label(Font::Face::bold, 28);
  DrawLabel(image, big, "Options", 400, 120, Align::centre, Heading());
  const char* labels[3] = {"Music", "Sounds", "Brightness"};
  const float rows[3] = {176, 240, 300};
  for (int i = 0; i < 3; ++i) {
    DrawLabel(image, label, labels[i], 378, rows[i] + 15, Align::right, Body());
    // A recessed bed for the groove, a little larger than it.
    Paint(image, RoundBox({500, rows[i] + 5}, 108, 13, 10), Flat(WithAlpha(Hex(0x140c1c), 0.6f)), 1.5f);
  }
  // A small window for the brightness numbers.
  Paint(image, RoundBox({124, 198}, 36, 30, 8), Flat(WithAlpha(Hex(0x140c1c), 0.7f)), 2);
  const Font tiny(Font::Face::regular, 15);
  DrawLabel(image, tiny, "light", 124, 248, Align::centre, {Flat(palette::cloudShade), 1.5f, palette::ink, 0});
  DrawLabel(image, Font(Font::Face::regular, 18), "Drag a nut along its groove.", 400, 400, Align::centre,
            {Flat(Mix(palette::cream, palette::skyLow, 0.4f)), 2, palette::ink, 0});
  return image;
}

// The groove of a track bar, drawn 200 x 10.
Image Groove() {
  Image image(256, 16);
  Paint(image, RoundBox({128, 8}, 127, 7.5f, 7), VerticalSoft(Hex(0x1e1424), palette::woodDark, 1, 15, 3), 0);
  Paint(image, RoundBox({128, 10}, 122, 2, 2), Flat(WithAlpha(palette::gold, 0.5f)), 0);
  return image;
}

Image Knob() {
  Image image(64, 64);
  DrawNut(Pen(image, {0, 0}, 1), {32, 34}, 52, 0);
  return image;
}

// The statistics screen: the game writes a table of labels at x 30 and
// numbers at x 300 from y 100 to y 435 (its dashed rules are 720 pixels
// long), and its button sits at (350, 500).
Image StatisticsTitle() {
  Image image = MenuPanel(5);
  Dim(image, 0.3f);
  PaintMessagePanel(image, 12, 84, 788, 462);
  const Font big(Font::Face::bold, 40);
  DrawLabel(image, big, "Island cleared!", 400, 62, Align::centre, Heading());
  DrawHero(Pen(image, {150, 592}, 1.15f), Cheering());
  DrawPineCone(Pen(image, {0, 0}, 1), {600, 545}, 50, -0.4f);
  DrawPineCone(Pen(image, {0, 0}, 1), {660, 555}, 44, 0.5f);
  DrawNut(Pen(image, {0, 0}, 1), {715, 560}, 34, 0.2f);
  return image;
}

bool Write(const std::string& contentDir, const std::string& path, const Image& image) {
  const bool tga = path.size() > 4 && path.substr(path.size() - 4) == ".tga";
  return tga ? WriteTga(OnDisk(contentDir, path), image) : WriteJpg(OnDisk(contentDir, path), image);
}

}  // namespace

bool BuildSplashAndTitles(const std::string& contentDir) {
  return Write(contentDir, "DATA\\intro\\kesmar.jpg", StorySplash()) &&
         Write(contentDir, "DATA\\intro\\LUMO.jpg", TitleSplash()) &&
         Write(contentDir, "DATA\\LoadTitle\\l1_LoadTitle.jpg", LoadingTitle());
}

bool BuildMessages(const std::string& contentDir) {
  struct Button {
    const char* name;
    const char* label;
  };
  for (const Button& b : {Button{"back", "Back"}, Button{"exit", "Exit"}, Button{"Credit", "Credits"}}) {
    const std::string base = std::string("DATA\\Message\\") + b.name;
    if (!Write(contentDir, base + "_R.tga", ButtonPicture(100, 35, b.label, false)) ||
        !Write(contentDir, base + "_P.tga", ButtonPicture(100, 35, b.label, true)))
      return false;
  }
  return Write(contentDir, "DATA\\Message\\exit.jpg", ExitPrompt()) &&
         Write(contentDir, "DATA\\Message\\load.jpg", LoadMessage()) &&
         Write(contentDir, "DATA\\Message\\bonus.jpg", BonusMessage());
}

bool BuildOptionsAndStatistics(const std::string& contentDir) {
  return Write(contentDir, "DATA\\Options\\title.jpg", OptionsTitle()) &&
         Write(contentDir, "DATA\\Options\\trackbar.jpg", Groove()) &&
         Write(contentDir, "DATA\\Options\\nut.tga", Knob()) &&
         Write(contentDir, "DATA\\Options\\button_back_0.tga", ButtonPicture(75, 35, "Back", false)) &&
         Write(contentDir, "DATA\\Options\\button_back_1.tga", ButtonPicture(75, 35, "Back", true)) &&
         Write(contentDir, "DATA\\Statistics\\Stat_title.jpg", StatisticsTitle()) &&
         Write(contentDir, "DATA\\Statistics\\butR.tga", ButtonPicture(75, 35, "Exit", false)) &&
         Write(contentDir, "DATA\\Statistics\\butP.tga", ButtonPicture(75, 35, "Exit", true));
}
