// The Windows shell as the installation uses it: the user's desktop folder
// and shortcut files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct Shortcut {
  std::string linkPath;          // the .lnk file to write
  std::string target;            // the program it starts
  std::string workingDirectory;
  std::optional<std::string> arguments;  // none set when absent
};

// Where making a shortcut stopped, with the system's code for the failure.
struct ShortcutResult {
  enum class Failure { kNone, kCreateObject, kQueryInterface, kSave };
  Failure failure = Failure::kNone;
  std::uint32_t code = 0;  // an HRESULT
};

class Shell {
 public:
  virtual ~Shell() = default;

  // The current user's desktop folder (which follows a redirected desktop),
  // without trailing "\"; nullopt when the shell cannot give it.
  virtual std::optional<std::string> DesktopFolder() = 0;

  // Writes the shortcut file, replacing one of the same name.
  virtual ShortcutResult SaveShortcut(const Shortcut& shortcut) = 0;

  // The system's text for an error code, without trailing full stop or line break.
  virtual std::string MessageFor(std::uint32_t code) = 0;
};

}  // namespace platform
