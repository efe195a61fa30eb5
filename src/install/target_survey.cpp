// The look at the target before anything is written: links on the way, files
// held by running programs, and what is already there.
#include <set>
#include <string>
#include <vector>

#include "install/installation.h"
#include "platform/unicode.h"

namespace install {

namespace {

std::string Key(const std::string& path) { return platform::FileNameUpper(path); }

// The folders from `target` (without "\") down to every folder a copy of the
// plan writes into, each with its trailing "\", parents before children.
std::vector<std::string> PlanFolders(const InstallPlan& plan,
                                     const std::vector<PlannedCopy>& copies) {
  std::vector<std::string> folders;
  std::set<std::string> seen;
  const auto add = [&](const std::string& folder) {
    if (seen.insert(Key(folder)).second) folders.push_back(folder);
  };
  const std::string destDir = plan.Target + "\\";
  add(destDir);
  add(destDir + "MSinfo\\");
  add(destDir + "MSinfo\\pic\\");
  add(destDir + "DATA" + std::to_string(plan.Year) + "\\");
  if (!plan.DataSubDir.empty() && AskedFor(plan.DataSubDir)) {
    add(destDir + plan.DataSubDir + "\\");
  }
  for (const PlannedCopy& copy : copies) {
    if (!AskedFor(copy.name)) continue;
    // Every folder on the way of a name in a subfolder ("a\b\x.exe").
    for (std::size_t at = copy.name.find_first_of("\\/"); at != std::string::npos;
         at = copy.name.find_first_of("\\/", at + 1)) {
      add(destDir + copy.name.substr(0, at + 1));
    }
  }
  return folders;
}

bool InUse(platform::ErrorCode probe) {
  return probe == platform::kErrorSharingViolation || probe == platform::kErrorLockViolation;
}

}  // namespace

bool TargetSurvey::Found(const std::string& path) const { return entries.count(Key(path)) != 0; }

bool TargetSurvey::KnownAbsent(const std::string& path) const {
  return !Found(path) && listed.count(Key(platform::FolderPart(path))) != 0;
}

TargetSurvey SurveyTarget(const InstallPlan& plan, platform::FileSystem& fs,
                          const std::vector<std::string>& alsoWritten) {
  TargetSurvey survey;
  const std::vector<PlannedCopy> copies = plan.Copies();
  const std::vector<std::string> folders = PlanFolders(plan, copies);
  for (const std::string& folder : folders) {
    const std::string path = folder.substr(0, folder.size() - 1);
    const auto info = fs.Info(path);
    if (!info) {
      // A folder that is not there holds nothing, as long as the folder it
      // would be in tells so: the target's own is not listed.
      const bool absent = &folder == &folders.front()
                              ? platform::FolderExists(fs, platform::FolderPart(path))
                              : survey.KnownAbsent(path);
      if (absent) survey.listed.insert(Key(folder));
      continue;
    }
    if ((info->attributes & platform::kAttrDirectory) == 0) continue;
    if ((info->attributes & platform::kAttrReparsePoint) != 0) {
      survey.linkedFolder = path;
      return survey;
    }
    // One listing of each folder tells what is there: asking for each name
    // that is not would cost the system a look through the folder each time.
    // An empty listing cannot be told from one that failed, so it tells
    // nothing.
    const auto entries = fs.Search(folder + "*", platform::SearchFilter::kEverything);
    if (!entries.empty()) survey.listed.insert(Key(folder));
    for (const auto& entry : entries) survey.entries.insert(Key(folder + entry.name));
  }
  // A file the installation would replace; a program can hold one that is
  // not, such as a program this distribution does not hold.
  const auto probe = [&](const std::string& target, const std::string* source) {
    if (survey.Found(target) && InUse(fs.ProbeReplace(target)) &&
        (source == nullptr || platform::FileExists(fs, *source))) {
      survey.inUse.push_back(target);
    }
  };
  for (const PlannedCopy& copy : copies) {
    if (copy.group != CopyGroup::kSampleData && AskedFor(copy.name)) {
      probe(copy.target, &copy.source);
    }
  }
  for (const std::string& target : alsoWritten) probe(target, nullptr);
  return survey;
}

}  // namespace install
