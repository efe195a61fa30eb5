#include "install/plan.h"

#include <algorithm>

namespace install {

namespace {

using Names = std::vector<std::string>;
using setup::SetupState;

// `names`, each with `before` and `after` around it.
Names Around(const std::string& before, Names names, const std::string& after) {
  for (std::string& name : names) name = before + name + after;
  return names;
}

}  // namespace

const std::vector<FileGroup>& FileGroups() {
  // group, source folder, target folder, replaces, makes its folder, scanned, names
  static const std::vector<FileGroup> groups = {
      {"programs", "prog\\", "", true, false, false,
       [](const SetupState& s) { return s.InstFiles.Lines(); }},
      {"stations", "config\\", "", true, false, true,
       [](const SetupState& s) { return Around("", s.MSnavn.items, ".cfg"); }},
      {"run files", "config\\", "", true, false, true,
       [](const SetupState& s) { return s.RunFiles.Lines(); }},
      {"info pages", "config\\MSinfo\\", "MSinfo\\", true, true, true,
       [](const SetupState& s) { return Around("", s.HtmlNames.Lines(), ".html"); }},
      {"pictures", "config\\MSinfo\\pic\\", "MSinfo\\pic\\", true, true, true,
       [](const SetupState& s) { return s.PicFiles.Lines(); }},
      {"bitmap", "config\\", "", true, false, true,
       [](const SetupState& s) { return s.BmpName.empty() ? Names{} : Names{s.BmpName}; }},
      // The samples keep the folder the scan found them in (DATA????).
      {"sample data", "", "", false, false, true,
       [](const SetupState& s) {
         return s.DataSubDir.empty() ? Names{} : Around(s.DataSubDir + "\\", s.DataFiles.Lines(), "");
       }},
  };
  return groups;
}

std::vector<std::string> GroupFolders() {
  std::vector<std::string> folders;
  for (const FileGroup& group : FileGroups()) {
    const std::string folder = group.target;
    if (group.makesFolder && !folder.empty() &&
        std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  return folders;
}

std::string YearFolder(int year) { return "DATA" + std::to_string(year); }

InstallPlan InstallPlan::Of(const SetupState& state, std::string target, int year) {
  InstallPlan plan;
  plan.SrcDir = state.SrcDir;
  plan.Target = std::move(target);
  for (const FileGroup& group : FileGroups()) plan.names.push_back(group.names(state));
  plan.DataSubDir = state.DataSubDir;
  plan.Year = year;
  return plan;
}

std::vector<PlannedCopy> InstallPlan::Copies() const {
  std::vector<PlannedCopy> copies;
  const std::string destDir = Target + "\\";
  const std::vector<FileGroup>& groups = FileGroups();
  for (std::size_t i = 0; i < groups.size() && i < names.size(); ++i) {
    for (const std::string& name : names[i]) {
      copies.push_back({name, SrcDir + groups[i].source + name,
                        destDir + groups[i].target + name, groups[i].replaces});
    }
  }
  return copies;
}

std::size_t InstallPlan::CopyCount() const { return Copies().size(); }

}  // namespace install
