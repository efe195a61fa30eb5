// What is installed where: the table of the groups of files, and the plan of
// the copies of one installation that is made from it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "setup/setup_state.h"

namespace install {

// One group of files of the installed tree. Every name of the group is
// joined to its source folder below the source and to its target folder
// below the target.
struct FileGroup {
  const char* group;   // what the files are
  const char* source;  // with its "\", empty for the source folder itself
  const char* target;  // with its "\", empty for the target folder itself
  // Whether a file of the name in the target is replaced. One that is not
  // is the site's own and stays as it is; such groups come last, and the
  // files they make are listed on the disk before the first of them.
  bool replaces;
  // Whether the target folder is made before the first copy, whether or not
  // a file goes into it.
  bool makesFolder;
  // Whether the scan knows the names; the programs' come from Install.dat,
  // which is read only once the user confirms.
  bool scanned;
  // The names, as the setup state holds them.
  std::vector<std::string> (*names)(const setup::SetupState& state);
};

// The installed tree, one row a group, in the order of the copies.
const std::vector<FileGroup>& FileGroups();

// The target folders of the groups that make theirs, each with its "\" and
// once, parents first.
std::vector<std::string> GroupFolders();

// The folder below the target for the data of `year`: "DATA<year>".
std::string YearFolder(int year);

// One copy of the plan: `name` joined to its source folder and to its
// target folder.
struct PlannedCopy {
  std::string name;
  std::string source;
  std::string target;
  bool replaces;  // as its group (FileGroup::replaces)
};

// What the copies of one installation are made from, taken from the setup
// state when the user confirms: nothing that changes afterwards alters what
// is copied.
struct InstallPlan {
  std::string SrcDir;  // ends in "\"
  std::string Target;  // the target folder, without trailing "\"
  // The names of each group of FileGroups(), in the table's order.
  std::vector<std::vector<std::string>> names;
  std::string DataSubDir;  // the folder of the sample data as scanned, without "\"
  int Year = 0;

  // The plan of the copies as `state` holds it, into `target`, in `year`.
  static InstallPlan Of(const setup::SetupState& state, std::string target, int year);

  // Every copy, group by group, each group in its list's order.
  std::vector<PlannedCopy> Copies() const;
  std::size_t CopyCount() const;
  // The steps the copies count: each copy, and the writing of it to the disk.
  std::size_t CopySteps() const { return 2 * CopyCount(); }
};

}  // namespace install
