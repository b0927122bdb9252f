// The level editor's edit model, without a window: commands and their undo,
// the history, saving and opening, the live check and the recovery files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "platform/Files.h"
#include "tools/editor/EditCheck.h"
#include "tools/editor/EditDocument.h"
#include "tools/editor/EditView.h"
#include "tools/editor/EditorKeys.h"
#include "tools/editor/Recovery.h"
#include "tools/level/LevelBinary.h"
#include "tools/level/LevelCheck.h"
#include "tools/level/PlayFolder.h"

namespace {

namespace fs = std::filesystem;

const fs::path kLevels = fs::path(VIRKO_TEST_DATA).parent_path().parent_path() / "tools/levels";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

LevelSource PineIsles() {
  std::vector<LevelProblem> problems;
  LevelSource level = ParseLevelText(ReadAll(kLevels / "pine-isles.level"), problems);
  EXPECT_TRUE(problems.empty());
  return level;
}

// The same level as the game reads it: the binary file keeps the pickups
// kind by kind, while a text may list them in any order.
bool SameGameLevel(const LevelSource& a, const LevelSource& b) { return CompileLevel(a) == CompileLevel(b); }

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/virko-edit-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    folder = name;
  }
  void TearDown() override {
    InjectSaveFault(tSaveFault::none);
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder);
  }
  fs::path folder;
};

// Applies the command, checks that undo gives the level back exactly and
// that redo gives the edited level again.
void ExpectUndoable(const LevelSource& original, const EditCommand& command) {
  SCOPED_TRACE(command.name);
  ASSERT_FALSE(command.changes.empty());
  LevelSource level = original;
  EditHistory history;
  ASSERT_TRUE(history.Do(level, command));
  const LevelSource edited = level;
  EXPECT_FALSE(SameLevel(edited, original));
  ASSERT_TRUE(history.Undo(level));
  EXPECT_TRUE(SameLevel(level, original));
  EXPECT_EQ(WriteLevelText(level, {}), WriteLevelText(original, {}));
  ASSERT_TRUE(history.Redo(level));
  EXPECT_TRUE(SameLevel(level, edited));
}

TEST(EditCommands, EveryCommandIsUndoneExactly) {
  const LevelSource level = PineIsles();
  const ItemRef point{ItemKind::kPoint, kSolidLines, 1, 2};
  const ItemRef unit{ItemKind::kUnit, 0, 3};
  const ItemRef pickup{ItemKind::kPickup, 0, 5};
  const ItemRef block{ItemKind::kBlock, 0, 0};
  const ItemRef stroke{ItemKind::kStroke, kPlatformLines, 0};
  const ItemRef player{ItemKind::kPlayer};

  ExpectUndoable(level, MoveItems(level, {point, unit, pickup, block, stroke, player}, 30, -20));
  ExpectUndoable(level, DeleteItems(level, {point, unit, pickup, block, stroke}));
  LevelUnit changedUnit = level.units[3];
  changedUnit.type = (changedUnit.type + 1) % 7;
  ExpectUndoable(level, SetItem(level, unit, changedUnit));
  LevelBlock changedBlock = level.blocks[0];
  changedBlock.permanent = !changedBlock.permanent;
  changedBlock.solidNow = 7;
  ExpectUndoable(level, SetItem(level, block, changedBlock));
  ExpectUndoable(level, SetItem(level, {ItemKind::kCell, 0, 4, 0}, int64_t(12)));
  ExpectUndoable(level, AddItem(level, ItemKind::kUnit, 0, LevelUnit{{500, 500}, 2, 0}));
  ExpectUndoable(level, AddItem(level, ItemKind::kPickup, 0, LevelPickup{{500, 500}, 6, 0}));
  ExpectUndoable(level, AddItem(level, ItemKind::kBlock, 0, LevelBlock{{500, 500}, false, 0, 0}));
  ExpectUndoable(level, AddItem(level, ItemKind::kStroke, kUnusedLines, LevelStroke{{{1, 2}, {3, 4}}, 0}));
  ExpectUndoable(level, InsertPoint(level, {ItemKind::kPoint, kSolidLines, 0, 1}, {60, 620}));
  ExpectUndoable(level, ExtendStroke(level, {ItemKind::kStroke, kPlatformLines, 1}, {{5, 5}, {6, 6}}));
  ExpectUndoable(level, ResizeLevel(level, 32, 2));
  ExpectUndoable(level, ResizeLevel(level, 4, 5));
  ExpectUndoable(level, PasteItems(level, CopyItems(level, {point, unit, pickup, block}), 10, 10));
}

TEST(EditCommands, DeletingEveryPointOfAStrokeDeletesTheStroke) {
  const LevelSource level = PineIsles();
  const size_t strokes = level.lines[kSolidLines].size();
  Selection all;
  for (size_t p = 0; p < level.lines[kSolidLines][2].points.size(); ++p)
    all.insert({ItemKind::kPoint, kSolidLines, 2, int(p)});
  all.insert({ItemKind::kPoint, kSolidLines, 0, 1});  // and one point of another stroke
  LevelSource edited = level;
  ASSERT_TRUE(ApplyCommand(edited, DeleteItems(level, all)));
  EXPECT_EQ(edited.lines[kSolidLines].size(), strokes - 1);
  EXPECT_EQ(edited.lines[kSolidLines][0].points.size(), level.lines[kSolidLines][0].points.size() - 1);
  EXPECT_EQ(edited.lines[kSolidLines][2].points, level.lines[kSolidLines][3].points);
  // No stroke is ever left without points: the text could not hold it.
  for (const LevelStroke& stroke : edited.lines[kSolidLines]) EXPECT_FALSE(stroke.points.empty());
}

TEST(EditCommands, MovingAStrokeAndOneOfItsPointsMovesThePointOnce) {
  const LevelSource level = PineIsles();
  LevelSource edited = level;
  ASSERT_TRUE(ApplyCommand(edited, MoveItems(level, {{ItemKind::kStroke, 0, 1, 0}, {ItemKind::kPoint, 0, 1, 0}}, 10, 0)));
  EXPECT_EQ(edited.lines[0][1].points[0].x, level.lines[0][1].points[0].x + 10);
}

TEST(EditCommands, ACommandThatDoesNotFitTheLevelChangesNothing) {
  LevelSource level = PineIsles();
  const LevelSource original = level;
  EditCommand command = MoveItems(level, {{ItemKind::kUnit, 0, 0}, {ItemKind::kUnit, 0, 1}}, 5, 5);
  command.changes.push_back({{ItemKind::kUnit, 0, 9999}, LevelUnit{}, LevelUnit{}});
  EXPECT_FALSE(ApplyCommand(level, command));
  EXPECT_TRUE(SameLevel(level, original));
  EditHistory history;
  EXPECT_FALSE(history.Do(level, command));
  EXPECT_FALSE(history.CanUndo());
}

TEST(EditCommands, PasteAppendsAndSelectsTheCopies) {
  const LevelSource level = PineIsles();
  const Clipboard clipboard = CopyItems(level, {{ItemKind::kPoint, 1, 0, 1}, {ItemKind::kPickup, 0, 2}, {ItemKind::kPlayer}});
  ASSERT_EQ(clipboard.items.size(), 2u);  // the stroke and the pickup; the player is not copied
  const EditCommand paste = PasteItems(level, clipboard, 100, 0);
  LevelSource edited = level;
  ASSERT_TRUE(ApplyCommand(edited, paste));
  const Selection added = AddedItems(paste);
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(edited.pickups.back().at.x, level.pickups[2].at.x + 100);
  std::vector<LevelPoint> expected = level.lines[1][0].points;
  for (LevelPoint& p : expected) p.x += 100;
  EXPECT_EQ(edited.lines[1].back().points, expected);
}

TEST(EditCommands, PickingPrefersPointsAndFindsSegments) {
  LevelSource level;
  level.lines[kSolidLines].push_back({{{0, 100}, {200, 100}}, 0});
  level.pickups.push_back({{0, 80}, 0, 0});
  const UnitBoxes boxes;
  const std::optional<ItemRef> under = ItemUnder(level, {3, 98}, 6, kAllItemLayers, boxes);
  ASSERT_TRUE(under);
  EXPECT_EQ(under->kind, ItemKind::kPoint);
  EXPECT_EQ(ItemUnder(level, {3, 98}, 6, kAllItemLayers & ~kLayerSolid, boxes)->kind, ItemKind::kPickup);
  const std::optional<SegmentHit> segment = SegmentUnder(level, {120, 105}, 8, kAllItemLayers);
  ASSERT_TRUE(segment);
  EXPECT_EQ(segment->insertAt.sub, 1);
  EXPECT_EQ(segment->on, (LevelPoint{120, 100}));
  EXPECT_FALSE(SegmentUnder(level, {120, 130}, 8, kAllItemLayers));
  EXPECT_EQ(ItemsInBox(level, RectBetween({-10, 70}, {10, 110}), kAllItemLayers).size(), 2u);
}

TEST(EditCommands, TheGamesLimitsAreNamed) {
  LevelSource level = PineIsles();
  EXPECT_EQ(BeyondTheGamesLimits(level), "");
  while (std::count_if(level.pickups.begin(), level.pickups.end(), [](const LevelPickup& p) { return p.kind == 3; }) <= 100)
    ApplyCommand(level, AddItem(level, ItemKind::kPickup, 0, LevelPickup{{0, 0}, 3, 0}));
  EXPECT_EQ(BeyondTheGamesLimits(level), "a level holds at most 100 pickups of kind 3");
  level = PineIsles();
  size_t points = 0;
  for (const LevelStroke& stroke : level.lines[kPlatformLines]) points += stroke.points.size();
  ApplyCommand(level, AddItem(level, ItemKind::kStroke, kPlatformLines,
                              LevelStroke{std::vector<LevelPoint>(512 - points, LevelPoint{1, 1}), 0}));
  EXPECT_EQ(BeyondTheGamesLimits(level), "a line list holds at most 511 points; the platform lines would have 512");
}

TEST(EditCommands, SnapRoundsToTheNearestTenOnBothSides) {
  EXPECT_EQ(Snap(14), 10);
  EXPECT_EQ(Snap(15), 20);
  EXPECT_EQ(Snap(-14), -10);
  EXPECT_EQ(Snap(-16), -20);
  EXPECT_EQ(Snap(-5), 0);
}

// A random edit of any kind the editor makes.
EditCommand RandomEdit(const LevelSource& level, std::mt19937& random) {
  auto pick = [&](size_t n) { return int(std::uniform_int_distribution<size_t>(0, n - 1)(random)); };
  auto coordinate = [&] { return int64_t(pick(4000)) - 500; };
  const int list = pick(kLineLists);
  Selection some;
  if (!level.units.empty()) some.insert({ItemKind::kUnit, 0, pick(level.units.size())});
  if (!level.pickups.empty()) some.insert({ItemKind::kPickup, 0, pick(level.pickups.size())});
  if (!level.blocks.empty()) some.insert({ItemKind::kBlock, 0, pick(level.blocks.size())});
  if (!level.lines[list].empty()) {
    const int stroke = pick(level.lines[list].size());
    some.insert({ItemKind::kPoint, list, stroke, pick(level.lines[list][stroke].points.size())});
  }
  switch (pick(9)) {
    case 0: return MoveItems(level, some, pick(41) - 20, pick(41) - 20);
    case 1: return DeleteItems(level, some);
    case 2: return AddItem(level, ItemKind::kUnit, 0, LevelUnit{{coordinate(), coordinate()}, pick(7), 0});
    case 3: return AddItem(level, ItemKind::kPickup, 0, LevelPickup{{coordinate(), coordinate()}, pick(7), 0});
    case 4: return AddItem(level, ItemKind::kStroke, list, LevelStroke{{{coordinate(), coordinate()}, {coordinate(), coordinate()}}, 0});
    case 5:
      if (level.lines[list].empty()) return {};
      return InsertPoint(level, {ItemKind::kPoint, list, 0, 1}, {coordinate(), coordinate()});
    case 6: return ResizeLevel(level, 1 + pick(31), 1 + pick(11));
    case 7: return SetItem(level, {ItemKind::kPlayer}, LevelUnit{{coordinate(), coordinate()}, 0, 0});
    default: return PasteItems(level, CopyItems(level, some), 50, 0);
  }
}

class EditSequences : public TempFolder {};

TEST_F(EditSequences, ThousandsOfRandomEditsUndoRedoSaveAndReopen) {
  EditDocument document = NewLevel(3, 1);
  document.level = PineIsles();
  document.history = EditHistory(5000);
  std::mt19937 random(25);
  std::vector<size_t> states{std::hash<std::string>()(WriteLevelText(document.level, {}))};
  while (states.size() <= 3000) {
    if (document.Do(RandomEdit(document.level, random)))
      states.push_back(std::hash<std::string>()(WriteLevelText(document.level, {})));
  }
  for (size_t step = states.size() - 1; step > 0; --step) {
    ASSERT_TRUE(document.Undo());
    ASSERT_EQ(std::hash<std::string>()(WriteLevelText(document.level, {})), states[step - 1]) << step;
  }
  EXPECT_FALSE(document.Undo());
  for (size_t step = 1; step < states.size(); ++step) {
    ASSERT_TRUE(document.Redo());
    ASSERT_EQ(std::hash<std::string>()(WriteLevelText(document.level, {})), states[step]) << step;
  }
  document.textPath = (folder / "random.level").string();
  std::string message;
  const SaveResult saved = SaveLevel(document, false, message);
  ASSERT_TRUE(saved == SaveResult::kSaved || saved == SaveResult::kSavedWithErrors) << message;
  std::string error;
  const std::optional<EditDocument> reopened = OpenLevel(document.textPath, error);
  ASSERT_TRUE(reopened) << error;
  EXPECT_TRUE(reopened->openProblems.empty());
  EXPECT_TRUE(SameLevel(reopened->level, document.level));
}

TEST(EditHistoryTest, KeepsItsDepthAndKnowsTheSavedState) {
  LevelSource level = PineIsles();
  EditHistory history(200);
  EXPECT_FALSE(history.Modified());
  for (int i = 0; i < 250; ++i) ASSERT_TRUE(history.Do(level, MoveItems(level, {{ItemKind::kUnit, 0, 0}}, 1, 0)));
  EXPECT_EQ(history.UndoSteps(), 200u);
  EXPECT_TRUE(history.Modified());
  while (history.Undo(level)) {}
  // The opened state lies 250 steps back: beyond the depth, still modified.
  EXPECT_TRUE(history.Modified());
  EXPECT_EQ(level.units[0].at.x, PineIsles().units[0].at.x + 50);
  history.MarkSaved();
  ASSERT_TRUE(history.Redo(level));
  EXPECT_TRUE(history.Modified());
  ASSERT_TRUE(history.Undo(level));
  EXPECT_FALSE(history.Modified());
  // A new step after undoing drops what could be redone.
  ASSERT_TRUE(history.Do(level, MoveItems(level, {{ItemKind::kUnit, 0, 0}}, 0, 1)));
  EXPECT_FALSE(history.CanRedo());
}

class EditFiles : public TempFolder {
 protected:
  // The Pine Isles' text and its compiled file, side by side in the folder.
  fs::path CopyPineIsles() {
    const fs::path text = folder / "pine-isles.level";
    fs::copy_file(kLevels / "pine-isles.level", text);
    const std::vector<uint8_t> binary = LevelFileBytes(CompileLevel(PineIsles()));
    WriteAll(folder / "pine-isles.vrk", std::string(binary.begin(), binary.end()));
    return text;
  }
};

TEST_F(EditFiles, MoveUndoSaveGivesTheOriginalFilesByteForByte) {
  const fs::path text = CopyPineIsles();
  const std::string originalText = ReadAll(text), originalBinary = ReadAll(folder / "pine-isles.vrk");
  std::string error, message;
  std::optional<EditDocument> document = OpenLevel(text.string(), error);
  ASSERT_TRUE(document) << error;
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kUnit, 0, 4}}, 120, -40)));
  ASSERT_TRUE(document->Undo());
  EXPECT_FALSE(document->Modified());
  ASSERT_EQ(SaveLevel(*document, false, message), SaveResult::kSaved) << message;
  EXPECT_EQ(ReadAll(text), originalText);
  EXPECT_EQ(ReadAll(folder / "pine-isles.vrk"), originalBinary);
}

TEST_F(EditFiles, AnEditedLevelKeepsItsOpeningCommentAndCompiles) {
  const fs::path text = CopyPineIsles();
  std::string error, message;
  std::optional<EditDocument> document = OpenLevel(text.string(), error);
  ASSERT_TRUE(document);
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kUnit, 0, 4}}, 120, 0)));
  ASSERT_EQ(SaveLevel(*document, false, message), SaveResult::kSaved) << message;
  const std::string saved = ReadAll(text);
  EXPECT_TRUE(saved.starts_with("# VIRKO: the Pine Isles.\n"));
  std::vector<LevelProblem> problems;
  EXPECT_TRUE(SameLevel(ParseLevelText(saved, problems), document->level));
  std::vector<std::string> messages;
  const std::string binary = ReadAll(folder / "pine-isles.vrk");
  const std::optional<LevelSource> decompiled = DecompileLevelBytes({binary.begin(), binary.end()}, messages);
  ASSERT_TRUE(decompiled);
  EXPECT_TRUE(SameGameLevel(*decompiled, document->level));
  // Saved twice: the same bytes (a stable order).
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kUnit, 0, 4}}, -120, 0)));
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kUnit, 0, 4}}, 120, 0)));
  ASSERT_EQ(SaveLevel(*document, false, message), SaveResult::kSaved);
  EXPECT_EQ(ReadAll(text), saved);
}

TEST_F(EditFiles, ACompiledFileOpensDecompiledAndSavesTheSameFile) {
  CopyPineIsles();
  const fs::path binary = folder / "pine-isles.vrk";
  const std::string originalBinary = ReadAll(binary);
  fs::remove(folder / "pine-isles.level");
  std::string error, message;
  std::optional<EditDocument> document = OpenLevel(binary.string(), error);
  ASSERT_TRUE(document) << error;
  EXPECT_TRUE(SameGameLevel(document->level, PineIsles()));
  ASSERT_EQ(SaveLevel(*document, false, message), SaveResult::kSaved) << message;
  EXPECT_EQ(ReadAll(binary), originalBinary);
  std::vector<LevelProblem> problems;
  EXPECT_TRUE(SameGameLevel(ParseLevelText(ReadAll(folder / "pine-isles.level"), problems), PineIsles()));
}

TEST_F(EditFiles, ALevelWithErrorsSavesItsTextOnlyAndSaysSo) {
  EditDocument document = NewLevel(3, 1);
  document.level.units.push_back({{100, 100}, 9, 0});  // no such unit type
  document.textPath = (folder / "broken.level").string();
  std::string message;
  EXPECT_EQ(SaveLevel(document, false, message), SaveResult::kSavedWithErrors);
  EXPECT_NE(message.find("errors"), std::string::npos);
  EXPECT_TRUE(fs::exists(document.textPath));
  EXPECT_FALSE(fs::exists(folder / "broken.vrk"));
  EXPECT_FALSE(document.Modified());
}

TEST_F(EditFiles, AFailedSaveKeepsTheLevelTheOldFileAndSaysWhy) {
  const fs::path text = CopyPineIsles();
  const std::string original = ReadAll(text);
  std::string error, message;
  std::optional<EditDocument> document = OpenLevel(text.string(), error);
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kBlock, 0, 2}}, 0, 10)));
  InjectSaveFault(tSaveFault::whileWriting);
  EXPECT_EQ(SaveLevel(*document, false, message), SaveResult::kFailed);
  InjectSaveFault(tSaveFault::none);
  EXPECT_EQ(ReadAll(text), original);
  EXPECT_TRUE(document->Modified());
  if (geteuid() != 0) {  // root writes anywhere
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(SaveLevel(*document, false, message), SaveResult::kFailed);
    EXPECT_NE(message.find(text.string()), std::string::npos) << message;
    EXPECT_TRUE(document->Modified());
  }
}

TEST_F(EditFiles, AChangeOutsideTheEditorIsNoticedOnSave) {
  const fs::path text = CopyPineIsles();
  std::string error, message;
  std::optional<EditDocument> document = OpenLevel(text.string(), error);
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kBlock, 0, 2}}, 0, 10)));
  WriteAll(text, ReadAll(text) + "unit 100,100 type 1\n");
  const std::string changed = ReadAll(text);
  EXPECT_EQ(SaveLevel(*document, false, message), SaveResult::kChangedOutside);
  EXPECT_EQ(ReadAll(text), changed);
  EXPECT_EQ(SaveLevel(*document, true, message), SaveResult::kSaved) << message;
  // A file put where a new level is saved for the first time counts too.
  EditDocument fresh = NewLevel(2, 1);
  fresh.textPath = text.string();
  EXPECT_EQ(SaveLevel(fresh, false, message), SaveResult::kChangedOutside);
}

TEST_F(EditFiles, BadFilesOpenWithTheirReasonsOrAreRefused) {
  std::string error;
  WriteAll(folder / "syntax.level", "size 3 1\nrow 0 0 0\nunit 10,x type 1\nplayer 100,100\nsolid 0,500 2400,500\n");
  std::optional<EditDocument> partial = OpenLevel((folder / "syntax.level").string(), error);
  ASSERT_TRUE(partial);
  ASSERT_EQ(partial->openProblems.size(), 1u);
  EXPECT_NE(partial->openProblems[0].find(":3: error:"), std::string::npos);
  EXPECT_EQ(partial->level.lines[kSolidLines].size(), 1u);  // what could be read is kept

  WriteAll(folder / "garbage.vrk", std::string("\x00\x00\xc0\x7f", 4) + std::string(40, '\x01'));  // NaN first
  EXPECT_FALSE(OpenLevel((folder / "garbage.vrk").string(), error));
  EXPECT_NE(error.find("refuses"), std::string::npos);
  EXPECT_FALSE(OpenLevel((folder / "missing.level").string(), error));
  fs::resize_file(folder / "garbage.vrk", kLargestLevelFile + 1);
  EXPECT_FALSE(OpenLevel((folder / "garbage.vrk").string(), error));
  EXPECT_NE(error.find("too large"), std::string::npos);
}

TEST(EditCheckTest, ProblemsNameTheirItemsAndTheirPlace) {
  LevelSource level = PineIsles();
  level.units[7].type = 9;
  level.pickups[3].kind = 8;
  bool unitFound = false, pickupFound = false;
  for (const EditProblem& problem : CheckForEditor(level)) {
    if (problem.item == ItemRef{ItemKind::kUnit, 0, 7}) {
      unitFound = true;
      EXPECT_EQ(problem.place, level.units[7].at);
    }
    pickupFound |= problem.item == ItemRef{ItemKind::kPickup, 0, 3};
  }
  EXPECT_TRUE(unitFound);
  EXPECT_TRUE(pickupFound);
  for (const EditProblem& problem : CheckForEditor(PineIsles())) EXPECT_NE(problem.severity, LevelProblem::kError);
}

TEST(EditCheckTest, MarksWhatAPlayerCannotSeeComing) {
  EditDocument document = NewLevel(3, 2);
  LevelSource& level = document.level;
  level.rows = {{0, 1, 0}, {2, 3, 0}};
  level.lines[kSolidLines].push_back({{{0, 900}, {2400, 900}}, 0});
  level.pickups.push_back({{300, 875}, 0, 0});   // centre in the ground line
  level.pickups.push_back({{2100, 700}, 1, 0});  // past the end (x 1900)
  level.units.push_back({{-100, 500}, 1, 0});    // just outside
  std::vector<std::string> messages;
  for (const EditProblem& problem : HiddenDangers(level)) messages.push_back(problem.message);
  auto has = [&](const std::string& part) {
    return std::any_of(messages.begin(), messages.end(), [&](const std::string& m) { return m.find(part) != std::string::npos; });
  };
  EXPECT_TRUE(has("screen 0,1: its scenery is cut off at y 600"));
  EXPECT_FALSE(has("screen 1,1"));  // a picture above it
  EXPECT_TRUE(has("pickup at 300,875 lies inside solid ground"));
  EXPECT_TRUE(has("pickup at 2100,700 lies past the level's end"));
  EXPECT_TRUE(has("unit at -100,500 lies outside the level"));
  // The items a new level keeps out of the way are not marked.
  EXPECT_EQ(messages.size(), 4u);
}

class RecoveryFiles : public TempFolder {};

TEST_F(RecoveryFiles, AKilledSessionIsOfferedBackWithItsEdit) {
  fs::copy_file(kLevels / "demo.level", folder / "demo.level");
  std::string error;
  std::optional<EditDocument> document = OpenLevel((folder / "demo.level").string(), error);
  ASSERT_TRUE(document);
  ASSERT_TRUE(document->Do(MoveItems(document->level, {{ItemKind::kPlayer}}, 40, 0)));
  const fs::path recoveries = folder / "state";
  fs::create_directory(recoveries);
  ASSERT_TRUE(WriteRecovery(recoveries.string(), *document, error)) << error;
  EditDocument unsaved = NewLevel(2, 1);
  ASSERT_TRUE(WriteRecovery(recoveries.string(), unsaved, error));

  const std::vector<RecoveredLevel> found = FindRecoveries(recoveries.string());
  ASSERT_EQ(found.size(), 2u);
  const auto mine = std::find_if(found.begin(), found.end(), [](const RecoveredLevel& r) { return !r.levelPath.empty(); });
  ASSERT_NE(mine, found.end());
  EXPECT_EQ(fs::path(mine->levelPath), fs::absolute(folder / "demo.level"));
  const EditDocument restored = RestoreRecovery(*mine);
  EXPECT_TRUE(SameLevel(restored.level, document->level));
  EXPECT_TRUE(restored.Modified());
  EXPECT_EQ(restored.textPath, mine->levelPath);

  RemoveRecovery(recoveries.string(), *document);
  EXPECT_EQ(FindRecoveries(recoveries.string()).size(), 1u);
  WriteAll(recoveries / "recovery-junk.level", "not a recovery file");
  EXPECT_EQ(FindRecoveries(recoveries.string()).size(), 1u);
}

}  // namespace

namespace {

TEST(EditViewTest, ZoomKeepsThePointUnderThePointerAndStaysInItsLimits) {
  EditView view;
  view.left = 1000;
  view.top = 200;
  view.scale = 0.5;
  const LevelPoint before = view.ToWorld(300, 100);
  view.ZoomAt(300, 100, 1.25);
  EXPECT_EQ(view.ToWorld(300, 100), before);
  for (int i = 0; i < 100; ++i) view.ZoomAt(300, 100, 2);
  EXPECT_EQ(view.scale, EditView::kMaxScale);
  for (int i = 0; i < 100; ++i) view.ZoomAt(300, 100, 0.5);
  EXPECT_EQ(view.scale, EditView::kMinScale);
  EXPECT_EQ(view.ToWorld(300, 100), before);
  // The Pine Isles (24000 x 1800) fit a 1920 x 1080 view: the corners show.
  view.Fit(24000, 1800, 1920, 1080);
  EXPECT_GE(view.ToViewX(0), 0);
  EXPECT_LE(view.ToViewX(24000), 1920);
  EXPECT_GE(view.ToViewY(0), 0);
  EXPECT_LE(view.ToViewY(1800), 1080);
}

}  // namespace

namespace {

TEST(EditorKeysTest, NoTwoActionsShareAKeyAndEveryActionHasOne) {
  std::set<std::tuple<int, bool, bool, bool>> keys;
  std::set<Action> bound;
  for (const KeyBinding& binding : kKeyBindings) {
    EXPECT_TRUE(keys.insert({binding.key, binding.ctrl, binding.shift, binding.alt}).second) << binding.name;
    bound.insert(binding.action);
  }
  EXPECT_EQ(bound.size(), size_t(Action::kHelp) + 1);
}

}  // namespace

namespace {

class PlayFolderTest : public TempFolder {};

// A test play's folder writes its own level and settings, never through a
// link into the content folder it borrows every other file from.
TEST_F(PlayFolderTest, OwnLevelAndSettingsLinksForTheRest) {
  const fs::path content = folder / "content", play = folder / "play";
  fs::create_directories(content / "DATA/levels/pine-isles");
  WriteAll(content / "DATA/levels/pine-isles.vrk", "the content's level");
  WriteAll(content / "DATA/levels/pine-isles/0.tga", "a picture");
  WriteAll(content / "settings.cfg", "PPP");
  WriteAll(content / "levels.cfg", "catalogue");
  std::string error;
  ASSERT_TRUE(MakePlayFolder(play.string(), content.string(), "DATA/levels/pine-isles.vrk", {'n', 'e', 'w'}, error))
      << error;
  EXPECT_EQ(ReadAll(play / "DATA/levels/pine-isles.vrk"), "new");
  EXPECT_EQ(ReadAll(content / "DATA/levels/pine-isles.vrk"), "the content's level");
  EXPECT_FALSE(fs::is_symlink(play / "DATA/levels/pine-isles.vrk"));
  EXPECT_FALSE(fs::is_symlink(play / "settings.cfg"));
  EXPECT_TRUE(fs::is_symlink(play / "levels.cfg"));
  EXPECT_TRUE(fs::is_symlink(play / "DATA/levels/pine-isles"));
  EXPECT_EQ(ReadAll(play / "DATA/levels/pine-isles/0.tga"), "a picture");
  // Made again for the next play: the old folder goes first.
  ASSERT_TRUE(MakePlayFolder(play.string(), content.string(), "DATA/levels/pine-isles.vrk", {'2'}, error));
  EXPECT_EQ(ReadAll(play / "DATA/levels/pine-isles.vrk"), "2");
  EXPECT_EQ(ReadAll(content / "DATA/levels/pine-isles.vrk"), "the content's level");
}

}  // namespace
