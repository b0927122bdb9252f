#include "tools/editor/EditorKeys.h"

#include <SDL_keyboard.h>

std::string KeyText(const KeyBinding& binding) {
  std::string text;
  if (binding.ctrl) text += "Ctrl+";
  if (binding.shift) text += "Shift+";
  if (binding.alt) text += "Alt+";
  return text + SDL_GetScancodeName(binding.key);
}

const KeyBinding& BindingOf(Action action) {
  for (const KeyBinding& binding : kKeyBindings)
    if (binding.action == action) return binding;
  return kKeyBindings.front();
}
