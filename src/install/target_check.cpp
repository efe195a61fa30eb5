#include "install/target_check.h"

#include <algorithm>

#include "setup/names.h"

namespace install {

using setup::WindowsLength;

std::size_t LongestFolder(const setup::SetupState& state, const std::string& target) {
  // MSinfo\pic is deeper than DATA<yyyy>, and than the DATA???? the scan finds.
  std::size_t below = WindowsLength("\\MSinfo\\pic");
  if (!state.DataSubDir.empty()) below = std::max(below, 1 + WindowsLength(state.DataSubDir));
  return WindowsLength(target) + below;
}

std::size_t LongestKnownPath(const setup::SetupState& state, const std::string& target) {
  std::size_t longest = WindowsLength(state.SysNavn + ".bib");
  const auto take = [&](std::size_t length) { longest = std::max(longest, length); };
  for (const auto& station : state.MSnavn.items) take(WindowsLength(station) + 4);
  for (const auto& name : state.RunFiles.Lines()) take(WindowsLength(name));
  for (const auto& station : state.HtmlNames.Lines()) take(7 + WindowsLength(station) + 5);
  for (const auto& name : state.PicFiles.Lines()) take(11 + WindowsLength(name));
  take(WindowsLength(state.BmpName));
  if (!state.DataSubDir.empty()) {
    const std::size_t folder = WindowsLength(state.DataSubDir) + 1;
    for (const auto& name : state.DataFiles.Lines()) take(folder + WindowsLength(name));
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
