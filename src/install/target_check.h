// The checks of a target folder before anything is written: names Windows
// can use, no file in the way, and paths Windows can reach; and the
// refusals they make, with the texts the window shows.
#pragma once

#include <cstddef>
#include <string>

#include "platform/file_system.h"
#include "setup/setup_state.h"

namespace install {

// Why an installation cannot be done; the window shows the text.
enum class Refusal {
  kNone,
  kNoDrive,
  kNoProgramFolder,
  kUnusableFolderName,  // a part Windows cannot use as a name (UsableNamePart)
  kPathTooLong,         // a folder over 247 or a known path over 259 characters
  kFolderIsFile,        // the target, or a folder on its way, is a file
};
const char* RefusalText(Refusal refusal);

// Why the program folder text `folder` (without its drive prefix) cannot make
// the target folder `target`, kNone when it can. In this order: a part of the
// text that is no usable name (UsableNamePart), a folder of the plan longer
// than 247 characters or a path the scan already knows longer than 259, and
// the target or a folder on its way that exists as a file. Looks at the file
// system only for the last, once every part is a usable name.
Refusal FolderRefusal(const setup::SetupState& state, platform::FileSystem& fs,
                      const std::string& folder, const std::string& target);

// The longest folder that the installation into `target` makes: the target,
// the folders of the groups (GroupFolders), DATA<yyyy> and the sample data
// folder.
std::size_t LongestFolder(const setup::SetupState& state, const std::string& target);

// The longest target path known before Install.dat is read: every copy of the
// groups the scan found (FileGroup::scanned) and the system file.
std::size_t LongestKnownPath(const setup::SetupState& state, const std::string& target);

}  // namespace install
