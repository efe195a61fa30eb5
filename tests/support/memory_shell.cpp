#include "support/memory_shell.h"

namespace platform {

ShortcutResult MemoryShell::SaveShortcut(const Shortcut& shortcut) {
  if (failWith != ShortcutResult::Failure::kNone) return {failWith, 0x80004005u};  // E_FAIL
  saved.push_back(shortcut);
  return {};
}

std::string MemoryShell::MessageFor(std::uint32_t code) {
  return code == 0x80004005u ? "Unspecified error" : "Error " + std::to_string(code);
}

}  // namespace platform
