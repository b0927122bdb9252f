// The end-of-level summary: on its first frame the play clock stops and the
// level's counters are folded into the totals; then a table of the level's
// figures and a button that ends the game.
#include <string>

#include "audio/AudioLibrary.h"
#include "gfx/Draw.h"
#include "gfx/PicturesAhead.h"
#include "gfx/Texture.h"
#include "platform/MessageBox.h"
#include "screens/Screens.h"

cButton statisticsButton;
uint8_t statisticsPrepared;

namespace {

const char* const kTitlePicture = "DATA\\Statistics\\Stat_title.jpg";
const char* const kButtonPictures[2] = {"DATA\\Statistics\\butR.tga", "DATA\\Statistics\\butP.tga"};

const std::string kDashes(36, '-');

// Two's-complement wrapping, as the counters' fixed widths have.
int32_t Add(int32_t a, int32_t b) { return int32_t(uint32_t(a) + uint32_t(b)); }
int32_t Subtract(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

void FoldTotals() {
  game.clockRunning = 0;
  LoadJPG(kTitlePicture, stats.titleTex);
  game.pointsTotal = Add(game.pointsTotal, stats.points);
  game.conesTotal = uint16_t(game.conesTotal + uint16_t(stats.cones));
  game.puffsTotal = uint16_t(game.puffsTotal + uint16_t(stats.puffs));
  game.bullets = Subtract(game.bullets, stats.bulletsUsed);
  game.fuel = Subtract(game.fuel, stats.fuelUsed);
  game.grenades = Subtract(game.grenades, stats.grenadesUsed);
  stats.initialised = 1;
  CreateButton(statisticsButton, 75, 35, kButtonPictures[0], kButtonPictures[1]);
}

void Row(float y, const std::string& label, const std::string& number, uint16_t numberSize = 16) {
  DrawText(16, label, fontTex, 30, y);
  DrawText(numberSize, number, fontTex, 300, y);
}

void DrawTable() {
  using std::to_string;
  DrawText(20, "Dizodo", fontTex, 30, 100);
  DrawText(20, kDashes, fontTex, 30, 125);
  Row(150, "Kils", to_string(stats.kills));
  Row(180, "Cones collected", to_string(stats.cones));
  Row(210, "Puffs collected", to_string(stats.puffs));
  Row(240, "Bullets useed", to_string(stats.bulletsUsed));
  Row(270, "Fuel used", to_string(stats.fuelUsed) + " litres");
  Row(300, "Granades used", to_string(stats.grenadesUsed));
  DrawText(20, kDashes, fontTex, 30, 323);
  Row(350, "Time taken", PlayTimeText(game.playSeconds));
  Row(380, "Points Colected", to_string(stats.points), 25);
  Row(410, "Points Total", to_string(game.pointsTotal), 25);
}

}  // namespace

std::string PlayTimeText(uint16_t seconds) {
  return std::to_string(seconds / 60) + ":" + std::to_string(seconds % 60);
}

void PrepareStatistics() {
  if (!statisticsPrepared) PreparePictures({kTitlePicture, kButtonPictures[0], kButtonPictures[1]});
  statisticsPrepared = 1;
  MakePreparedTexture();
}

void StatisticsFrame() {
  if (stats.closed) return;
  if (!stats.initialised) FoldTotals();
  DrawOverlay(stats.titleTex, 0, 0, -1, 800, 600, 1);
  DrawTable();
  if (statisticsButton.Run(350, 500)) {
    stats.closed = 1;
    AudioFree();
    RequestTerminate();
  }
}
