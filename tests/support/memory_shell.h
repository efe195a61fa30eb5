// A shell for the tests: the desktop folder it is given, and a record of the
// shortcuts it is asked to save.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

// A shell that records the shortcuts it is asked to save.
class MemoryShell : public Shell {
 public:
  std::optional<std::string> desktop = std::string("C:\\Users\\test\\Desktop");
  ShortcutResult::Failure failWith = ShortcutResult::Failure::kNone;
  std::vector<Shortcut> saved;

  std::optional<std::string> DesktopFolder() override { return desktop; }
  ShortcutResult SaveShortcut(const Shortcut& shortcut) override;
  std::string MessageFor(std::uint32_t code) override;
};

}  // namespace platform
