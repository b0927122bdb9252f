// The editor's dialogs: new level, open, save as, a file changed outside,
// unsaved changes, recovery.
#include <SDL_scancode.h>
#include <imgui.h>

#include <cstdio>
#include <filesystem>

#include "tools/editor/EditorUi.h"

namespace {

// Return confirms a dialog and Escape cancels it, as everywhere.
bool Confirmed() { return ImGui::IsKeyPressed(SDL_SCANCODE_RETURN, false) || ImGui::IsKeyPressed(SDL_SCANCODE_KP_ENTER, false); }
bool Cancelled() { return ImGui::IsKeyPressed(SDL_SCANCODE_ESCAPE, false); }

}  // namespace

void Editor::Dialogs() {
  if (!pendingPopup_.empty()) {
    ImGui::OpenPopup(pendingPopup_.c_str());
    if (pendingPopup_ == "Open level" || pendingPopup_ == "Save as")
      std::snprintf(pathInput_, sizeof pathInput_, "%s", document_.textPath.c_str());
    pendingPopup_.clear();
  }
  const ImGuiWindowFlags flags = ImGuiWindowFlags_AlwaysAutoResize;
  if (ImGui::BeginPopupModal("New level", nullptr, flags)) {
    ImGui::Text("Size in screens of 800 x 600 (across 1 to 31, down 1 to 11)");
    if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
    ImGui::InputInt2("across, down", newSize_);
    if (ImGui::Button("Make (Return)") || Confirmed()) {
      New(newSize_[0], newSize_[1]);
      ImGui::CloseCurrentPopup();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
  }
  for (const char* name : {"Open level", "Save as"}) {
    if (!ImGui::BeginPopupModal(name, nullptr, flags)) continue;
    const bool opening = name[0] == 'O';
    ImGui::Text(opening ? "Level text (.level) or compiled level file (.vrk):" : "Save the level text as:");
    if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
    ImGui::SetNextItemWidth(520);
    const bool entered = ImGui::InputText("##path", pathInput_, sizeof pathInput_, ImGuiInputTextFlags_EnterReturnsTrue);
    if (ImGui::Button(opening ? "Open" : "Save") || entered) {
      ImGui::CloseCurrentPopup();
      if (opening) Open(pathInput_);
      else SaveAs(pathInput_);
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Changed outside", nullptr, flags)) {
    ImGui::TextWrapped("%s was changed outside the editor since it was read.", document_.textPath.c_str());
    ImGui::Text("Overwrite it with the level here?");
    if (ImGui::Button("Overwrite")) {
      ImGui::CloseCurrentPopup();
      Save(true);
    }
    ImGui::SameLine();
    if (ImGui::Button("Save as...")) {
      ImGui::CloseCurrentPopup();
      pendingPopup_ = "Save as";
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Unsaved changes", nullptr, flags)) {
    ImGui::Text("The level has unsaved changes.");
    if (ImGui::Button("Save")) {
      ImGui::CloseCurrentPopup();
      Save(false);
    }
    ImGui::SameLine();
    if (ImGui::Button("Discard them")) {
      ImGui::CloseCurrentPopup();
      Close();
      document_.history.MarkSaved();
      if (afterSave_) std::exchange(afterSave_, nullptr)();
    }
    ImGui::SameLine();
    if (ImGui::Button("Cancel (Escape)") || Cancelled()) {
      afterSave_ = nullptr;
      ImGui::CloseCurrentPopup();
    }
    ImGui::EndPopup();
  }
  if (ImGui::BeginPopupModal("Recover", nullptr, flags)) {
    const RecoveredLevel& found = recoveries_.front();
    ImGui::Text("The editor ended without saving %s.", found.levelPath.empty() ? "a new level" : found.levelPath.c_str());
    ImGui::Text("Its last state was kept. Recover it?");
    const bool recover = ImGui::Button("Recover (Return)") || Confirmed();
    ImGui::SameLine();
    const bool discard = ImGui::Button("Discard (Escape)") || Cancelled();
    if (recover || discard) {
      ImGui::CloseCurrentPopup();
      if (recover) {
        Adopt(RestoreRecovery(found));
        Say("recovered " + (found.levelPath.empty() ? std::string("a new level") : found.levelPath));
      }
      std::error_code error;
      std::filesystem::remove(found.file, error);
      recoveries_.erase(recoveries_.begin());
      if (!recoveries_.empty()) OfferRecovery();
    }
    ImGui::EndPopup();
  }
}
