// The copies of one installation, replacing nothing until its copy is whole
// and on the disk.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "install/plan.h"
#include "install/target_survey.h"
#include "platform/file_system.h"

namespace install {

// What the copies set in the setup state, and what they could not install.
struct InstallResult {
  std::string DestDir;
  std::string DataDir;
  std::string YearSeq;
  std::vector<std::string> NotInstalled;
};

// How far the copies are: they count `done` up, any thread may read it;
// `total` is set before they start. Setting `stop` from any thread ends them
// before their next file (the session is ending); a copy under way is
// finished first.
struct CopyProgress {
  std::atomic<std::size_t> done{0};
  std::size_t total = 0;
  std::atomic<bool> stop{false};
};

// Makes the target and its missing parents (raising "Unable to create
// directory" for an empty target), the folders of the groups (GroupFolders)
// and the year's, and copies every group of the plan in its fixed order;
// each copy is left writable. A target that `survey` saw, or that turns out
// to exist, is replaced by a rename: the copy goes to a temporary folder in
// the target first, is checked to be whole, and only then takes the old
// file's place, read-only, hidden and system ones too; whatever fails, the
// old file stays as it was. Groups that replace nothing (the sample data)
// never replace a file. A new file whose copy fails part way is deleted
// again.
// A copy that fails does not stop the run: it is skipped silently when the
// system reports its file (or a folder on the way) missing while the file's
// own source folder can still be read, and listed as not installed
// otherwise, as is a year folder that could not be made, a folder named as a
// file and a target longer than 259 characters. Failing to make a folder is
// otherwise silent: the copies into it fail and are listed. Names that would
// reach outside the source or target folder are never copied, and names
// Windows cannot use (UsableNamePart) never asked for: those count as files
// the distribution does not hold. Reads nothing but the plan and the file
// system, so that it can run on a thread of its own.
// Once `progress->stop` is set, no further copy is started.
InstallResult CopyFiles(const InstallPlan& plan, platform::FileSystem& fs,
                        const TargetSurvey& survey, CopyProgress* progress = nullptr);

}  // namespace install
