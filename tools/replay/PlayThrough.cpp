#include "tools/replay/PlayThrough.h"

#include <SDL.h>

#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "game/Gameplay.h"
#include "game/Units.h"
#include "screens/Screens.h"

namespace {

constexpr int kFramesPerSecond = 100;  // the frame timer's pace
constexpr int kThrow = isButton1 + 2;  // Button 3, Ctrl
constexpr int kJump = isButton1 + 6;   // Button 7, Alt
constexpr int kMaxFrames = 400 * kFramesPerSecond;

// Menu items (the default content's mainSCR.cfg) and the screens' buttons,
// each aimed at its middle.
constexpr int kNewGameX = 188, kNewGameY = 240;
constexpr int kOptionsX = 188, kOptionsY = 368;
constexpr int kOptionsBackX = 87, kOptionsBackY = 517;
constexpr int kStatisticsButtonX = 387, kStatisticsButtonY = 517;
// Track bars: left end and middle row; the value is (x - left) / 2.
constexpr int kBarLeft = 400, kMusicBarY = 176, kLightBarY = 300;

struct RouteFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class cPlayer {
 public:
  explicit cPlayer(cSession& session) : s_(session) {}

  void Play();
  void PlayRoute(const std::vector<InputSet>& route);

 private:
  tVirkoUnit& Me() { return units[0]; }
  bool Landed() { return !Me().jumping && !Me().falling; }

  void Item(tRecordItem item) { s_.Execute(item); }
  void Stage(const char* name) {
    tRecordItem item;
    item.kind = tRecordItem::Stage;
    item.name = name;
    Item(item);
  }
  void Mouse(tRecordItem::Kind kind, int x, int y) {
    tRecordItem item;
    item.kind = kind;
    item.x = x;
    item.y = y;
    item.button = SDL_BUTTON_LEFT;
    Item(item);
  }
  void Key(SDL_Keycode key) {
    tRecordItem item;
    item.kind = tRecordItem::Key;
    item.key = key;
    Item(item);
  }

  // One frame with the given states held; a second's tick every 100 frames,
  // as at the timer's full pace.
  void Frame(std::initializer_list<int> states = {}) {
    InputSet input{};
    for (int state : states) input.Add(state);
    Frame(input);
  }
  void Frame(const InputSet& input) {
    tRecordItem held = tRecordItem::Of(tRecordItem::Input);
    held.input = input;
    Item(held);
    tRecordItem frame;
    frame.count = 1;
    frame.factor = frameFactor;
    Item(frame);
    if (s_.FramesRun() % kFramesPerSecond == 0) Item(tRecordItem::Of(tRecordItem::Second));
    if (s_.Ended()) throw RouteFailed("the game ended early");
    if (s_.FramesRun() > kMaxFrames) throw RouteFailed("out of time");
  }
  void Wait(int frames) {
    for (int i = 0; i < frames; ++i) Frame();
  }
  template <class Done>
  void WaitFor(Done done, const char* what, int limit = 10 * kFramesPerSecond) {
    for (int i = 0; !done(); ++i) {
      if (i == limit) throw RouteFailed(std::string("waited in vain for ") + what);
      Frame();
    }
  }
  // Pointer to (x, y), press and release there: a menu item fires on the
  // release, a button on the press.
  void Click(int x, int y) {
    Mouse(tRecordItem::Move, x, y);
    Wait(5);
    Mouse(tRecordItem::Down, x, y);
    Wait(3);
    Mouse(tRecordItem::Up, x, y);
    Wait(5);
  }
  // Press on a track bar, drag along it and let go at value.
  void DragBar(int y, int from, int to) {
    Mouse(tRecordItem::Move, kBarLeft + 2 * from, y);
    Mouse(tRecordItem::Down, kBarLeft + 2 * from, y);
    Frame();
    const int step = to > from ? 5 : -5;
    for (int v = from + step; (to - v) * step > 0; v += step) {
      Mouse(tRecordItem::Move, kBarLeft + 2 * v, y);
      Frame();
    }
    Mouse(tRecordItem::Move, kBarLeft + 2 * to, y);
    Frame();
    Mouse(tRecordItem::Up, kBarLeft + 2 * to, y);
    Frame();
  }

  void Settle() {
    Frame();
    WaitFor([&] { return Landed(); }, "landing");
  }
  void WalkTo(double x) {
    const int direction = x > Me().x ? isRight : isLeft;
    for (int i = 0; direction == isRight ? Me().x < x : Me().x > x; ++i) {
      if (i == 30 * kFramesPerSecond) throw RouteFailed("stuck walking to x " + std::to_string(x));
      Frame({direction});
    }
  }
  // A full jump (the key held past 25 time units), walking right or not.
  void FullJump(bool walking) {
    for (int i = 0; i < 20; ++i) walking ? Frame({isRight, kJump}) : Frame({kJump});
    for (int i = 0; !Landed(); ++i) {
      if (i == 10 * kFramesPerSecond) throw RouteFailed("no landing after a jump");
      walking ? Frame({isRight}) : Frame();
    }
  }
  void ClimbUp(int platforms) {
    for (int i = 0; i < platforms; ++i) {
      const double before = Me().y;
      FullJump(false);
      Settle();
      if (Me().y > before - 100)
        throw RouteFailed("platform not reached at x " + std::to_string(Me().x));
    }
  }
  // Throws right until a throw hits a unit.
  void ThrowUntilHit() {
    const int killsBefore = stats.kills;
    for (int throws = 0; stats.kills == killsBefore; ++throws) {
      if (throws == 20) throw RouteFailed("no throw hit");
      Frame({kThrow});
      WaitFor([&] { return !Me().attacking && !WeaponState.inFlight; }, "the throw's end");
    }
  }

  void Splash();
  void Options();
  void StartGame();
  void PlayLevel();
  void FollowRoute(const std::vector<InputSet>& route);
  void Statistics();

  cSession& s_;
};

void cPlayer::Splash() {
  // The first second runs at factor 0; the first picture rises from 1 s.
  Wait(2 * kFramesPerSecond + 50);
  Stage("splash");
  Key(SDLK_ESCAPE);
  WaitFor([] { return IntroState.finished != 0; }, "the menu");
  Wait(kFramesPerSecond / 2);
  Mouse(tRecordItem::Move, kNewGameX, kNewGameY);  // a lit item
  Wait(20);
  Stage("menu");
}

void cPlayer::Options() {
  Click(kOptionsX, kOptionsY);
  if (!mainScreen.optionsShown) throw RouteFailed("the options screen did not open");
  DragBar(kMusicBarY, 70, 50);
  DragBar(kLightBarY, 96, 90);
  Wait(10);
  Stage("options");
  Click(kOptionsBackX, kOptionsBackY);
  if (mainScreen.optionsShown || mainScreen.menuHidden) throw RouteFailed("options not left");
  Wait(kFramesPerSecond / 2);
  Stage("options-saved");
}

void cPlayer::StartGame() {
  Click(kNewGameX, kNewGameY);
  if (!mainScreen.newGameChosen) throw RouteFailed("no new game");
  Wait(kFramesPerSecond / 2);
  Stage("video");
  Key(SDLK_ESCAPE);
  const int level = game.currentLevel;
  WaitFor([&] { return videoDone != 0; }, "the video's end");
  if (!screenFlags.levelLoaded[level]) Stage("loading");
  WaitFor([&] { return screenFlags.levelLoaded[level] != 0; }, "the level");
  Frame();
  Stage("play-start");
}

void cPlayer::PlayLevel() {
  Settle();
  // Toward the walker of the meadow, which comes to meet the player: a
  // throw for it.
  for (int i = 0; units[1].x - Me().x > 200; ++i) {
    if (i == 20 * kFramesPerSecond) throw RouteFailed("the walker never came near");
    Frame({isRight});
  }
  Frame();
  ThrowUntilHit();
  Stage("throw-hit");
  // Into the narrow pit: the level starts over.
  WalkTo(1500);
  for (int i = 0; Me().x > 1000; ++i) {
    if (i == 20 * kFramesPerSecond) throw RouteFailed("no fall into the pit");
    Frame({isRight});
  }
  Stage("restarted");
  Settle();
  WalkTo(1885);  // the narrow pit, this time jumped
  FullJump(true);
  WalkTo(3300);  // the valley's far end, for the pickup there
  WalkTo(2900);  // back under the climb
  Settle();
  ClimbUp(1);
  ClimbUp(1);
  Stage("platform");
  ClimbUp(2);
  WalkTo(4560);  // over the mesa to the boulder
  FullJump(true);
  WalkTo(5650);  // down from the mesa, onto the bridge
  Stage("bridge");
  WalkTo(6380);  // over the bridge, under the bonus platforms
  Settle();
  ClimbUp(2);  // to the puff on the upper one
  Stage("puff");
  WalkTo(7050);  // off the platform, to the pillar's climb
  Settle();
  ClimbUp(2);
  WalkTo(6930);  // along the platform, for the pickup at its end
  WalkTo(7050);
  Settle();
  ClimbUp(3);
  WalkTo(7255);  // against the pillar
  FullJump(true);  // over it
  Stage("pillar");
  WalkTo(7501);
  WaitFor([] { return screenFlags.levelDone[game.currentLevel] != 0; }, "the level's end");
}

// The route's frames one by one, with a stage (and its picture) each time
// the player reaches a new section of kSectionWidth pixels.
void cPlayer::FollowRoute(const std::vector<InputSet>& route) {
  constexpr int kSectionWidth = 2400;
  int section = 0;
  for (const InputSet& input : route) {
    Frame(input);
    if (Me().x >= (section + 1) * kSectionWidth) Stage(("section-" + std::to_string(++section)).c_str());
  }
  if (!screenFlags.levelDone[game.currentLevel]) throw RouteFailed("the route ended before the level's end");
}

void cPlayer::Statistics() {
  Wait(kFramesPerSecond);
  Stage("statistics");
  Mouse(tRecordItem::Move, kStatisticsButtonX, kStatisticsButtonY);
  Frame();
  Mouse(tRecordItem::Down, kStatisticsButtonX, kStatisticsButtonY);
  tRecordItem frame;
  frame.count = 1;
  frame.factor = frameFactor;
  Item(frame);  // the press ends the game
}

void cPlayer::PlayRoute(const std::vector<InputSet>& route) {
  Splash();
  StartGame();
  FollowRoute(route);
  Statistics();
}

void cPlayer::Play() {
  Splash();
  Options();
  StartGame();
  PlayLevel();
  Statistics();
}

}  // namespace

bool PlayThrough(cSession& session, const std::vector<InputSet>* route) {
  cPlayer player(session);
  try {
    route ? player.PlayRoute(*route) : player.Play();
  } catch (const RouteFailed& failure) {
    std::fprintf(stderr, "virko-replay: the play-through failed at frame %lld: %s\n  %s\n",
                 static_cast<long long>(session.FramesRun()), failure.what(),
                 cSession::StateLine("failed", session.FramesRun()).c_str());
    return false;
  }
  return true;
}
