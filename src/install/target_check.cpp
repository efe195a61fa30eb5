#include "install/target_check.h"

#include <algorithm>

#include "install/plan.h"
#include "setup/names.h"
#include "setup/system_setup.h"

namespace install {

using setup::WindowsLength;

const char* RefusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNoDrive: return "Der er ikke fundet noget drev at installere på";
    case Refusal::kNoProgramFolder: return "Der er ikke angivet nogen programmappe";
    case Refusal::kUnusableFolderName:
      return "Programmappen kan ikke hedde sådan: et mappenavn må ikke være tomt, indeholde "
             "< > : \" / | ? * eller ende på punktum eller mellemrum, og CON, PRN, AUX, NUL, "
             "COM1 og LPT1 o.l. er navne på enheder";
    case Refusal::kPathTooLong:
      return "Programmappens sti er for lang: Windows kan ikke bruge mapper på over 247 tegn "
             "eller filer på over 259 tegn";
    case Refusal::kFolderIsFile:
      return "Programmappen, eller en mappe på vejen til den, findes allerede som en fil";
    case Refusal::kNone: break;
  }
  return "";
}

std::size_t LongestFolder(const setup::SetupState& state, const std::string& target) {
  // Each below the target's "\"; the year has four digits.
  std::size_t below = WindowsLength(YearFolder(2000)) + 1;
  for (const std::string& folder : GroupFolders()) below = std::max(below, WindowsLength(folder));
  if (!state.DataSubDir.empty()) below = std::max(below, 1 + WindowsLength(state.DataSubDir));
  return WindowsLength(target) + below;
}

std::size_t LongestKnownPath(const setup::SetupState& state, const std::string& target) {
  std::size_t longest = WindowsLength(setup::SystemFileName(state));
  for (const FileGroup& group : FileGroups()) {
    if (!group.scanned) continue;
    const std::size_t folder = WindowsLength(group.target);
    for (const std::string& name : group.names(state)) {
      longest = std::max(longest, folder + WindowsLength(name));
    }
  }
  return WindowsLength(target) + 1 + longest;
}

Refusal FolderRefusal(const setup::SetupState& state, platform::FileSystem& fs,
                      const std::string& folder, const std::string& target) {
  if (!setup::UsableRelativeName(folder)) return Refusal::kUnusableFolderName;
  if (LongestFolder(state, target) > setup::kMaxFolderLength ||
      LongestKnownPath(state, target) > setup::kMaxPathLength) {
    return Refusal::kPathTooLong;
  }
  // "C:\a\b" passes through C:\a and ends at C:\a\b.
  for (std::size_t end = target.find('\\', 3);; end = target.find('\\', end + 1)) {
    if (platform::FileExists(fs, target.substr(0, end))) return Refusal::kFolderIsFile;
    if (end == std::string::npos) return Refusal::kNone;
  }
}

}  // namespace install
