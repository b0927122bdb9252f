#include "tests/unit/RoutePlay.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>

#include "app/GameState.h"
#include "app/Random.h"
#include "game/CollisionMap.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "tests/unit/CheckTestContent.h"
#include "tools/cli/Checks.h"

namespace routeplay {

namespace {

constexpr double kFactor = 2;  // 100 frames a second

// The fliers' numbers: the game's generator with simulate's fixed seed, here
// kept where a saved play can keep it too.
std::mt19937 fliers;
int FlierRandom(int range) { return std::uniform_int_distribution<int>(0, range - 1)(fliers); }

InputSet held;
InputSet HeldInput() { return held; }

// Brings the input component to "these states held, none taken": what it
// holds after a frame in which they were held and neither the jump nor the
// throw was taken.
void SetHeld(const InputSet& states) {
  SetInputSource(HeldInput);
  held = InputSet{};
  RefreshInput();
  held = states;
  RefreshInput();
}

}  // namespace

bool LoadLevel(const std::string& contentDir) {
  // simulate reports on stderr why a level cannot be played.
  if (checktest::RunTool(RunSimulate, {contentDir, "--frames", "0", "--factor", "2"}).status != 0) return false;
  fliers.seed(1);
  SetRandomSource(FlierRandom);
  SetHeld(InputSet{});
  return true;
}

void PlayFrame(const InputSet& states) {
  held = states;
  PlaySimulatedFrame(kFactor);
}

Position Player() {
  const tVirkoUnit& p = units[0];
  return {p.x, p.y, p.jumping != 0, p.falling != 0};
}

void PlacePlayer(double x, double y) {
  tVirkoUnit& p = units[0];
  cameraX += p.x - x;
  cameraY += p.y - y;
  p.x = float(x);
  p.y = y;
}

int Points() { return stats.points; }

bool UnitOnScreen() {
  const tVirkoUnit& p = units[0];
  for (int i = 1; i <= game.unitCount && i <= kMaxUnits; ++i) {
    const tVirkoUnit& u = units[i];
    if (u.health > 0 && std::abs(u.x - p.x) < kScreenWidth / 2 && std::abs(u.y - p.y) < kScreenHeight / 2)
      return true;
  }
  return false;
}

std::vector<Item> Items() {
  std::vector<Item> items;
  for (int k = 0; k < kPickupKinds; ++k)
    for (int j = 0; j <= pickupKinds[k].lastItem && j < 100; ++j) {
      const tPickupItem& item = pickupKinds[k].items[j];
      items.push_back({k, j, item.x, item.y, item.taken != 0});
    }
  return items;
}

struct SavedPlay::State {
  tGame game;
  tStat stats;
  tScreenFlags screenFlags;
  double cameraX, cameraY;
  std::array<tVirkoUnit, kMaxUnits + 1> units;
  std::array<cAnim, kMaxUnits + 1> unitSprites;
  tWeaponState weapon;
  float throwAngle, riseStep;
  uint16_t hitUnit;
  uint8_t hitEffectOn, weaponLaunched;
  cAnim sparkleSprite;
  std::array<PickupKind, kPickupKinds> pickupKinds;
  int32_t standingBlock;
  cCollisionMap collisionMap;
  std::mt19937 fliers;
  InputSet held;
};

SavedPlay::SavedPlay(const InputSet& heldLastFrame)
    : state_(new State{game, stats, screenFlags, cameraX, cameraY, {}, {}, WeaponState,
                       throwAngle, riseStep, hitUnit, hitEffectOn, weaponLaunched,
                       sparkleSprite, {}, standingBlock, CollisionMap, fliers, heldLastFrame}) {
  std::copy(std::begin(units), std::end(units), state_->units.begin());
  std::copy(std::begin(unitSprites), std::end(unitSprites), state_->unitSprites.begin());
  std::copy(std::begin(pickupKinds), std::end(pickupKinds), state_->pickupKinds.begin());
}

SavedPlay::~SavedPlay() = default;

void SavedPlay::Restore() const {
  const State& s = *state_;
  game = s.game;
  stats = s.stats;
  screenFlags = s.screenFlags;
  cameraX = s.cameraX;
  cameraY = s.cameraY;
  std::copy(s.units.begin(), s.units.end(), std::begin(units));
  std::copy(s.unitSprites.begin(), s.unitSprites.end(), std::begin(unitSprites));
  WeaponState = s.weapon;
  throwAngle = s.throwAngle;
  riseStep = s.riseStep;
  hitUnit = s.hitUnit;
  hitEffectOn = s.hitEffectOn;
  weaponLaunched = s.weaponLaunched;
  sparkleSprite = s.sparkleSprite;
  std::copy(s.pickupKinds.begin(), s.pickupKinds.end(), std::begin(pickupKinds));
  standingBlock = s.standingBlock;
  CollisionMap = s.collisionMap;
  fliers = s.fliers;
  SetHeld(s.held);
}

std::vector<InputSet> ReadRoute(const std::string& path) {
  std::optional<std::vector<InputSet>> frames = ReadInputFile(path);
  return frames ? std::move(*frames) : std::vector<InputSet>{};
}

bool PressesJump(const std::vector<InputSet>& frames, size_t i) {
  const int jump = Button(7);
  return frames[i].Has(jump) && (i == 0 || !frames[i - 1].Has(jump));
}

}  // namespace routeplay
