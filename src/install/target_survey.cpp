#include "install/target_survey.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/unicode.h"
#include "setup/names.h"

namespace install {

namespace {

using setup::AskedFor;

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
  for (const std::string& folder : GroupFolders()) add(destDir + folder);
  add(destDir + YearFolder(plan.Year) + "\\");
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

// Adds the samples that the list in `tempFolder` names, one a line relative
// to `target` (with its "\\"), to `unfinished`; a folder without a list
// adds none.
void ReadSamplesList(platform::FileSystem& fs, const std::string& target,
                     const std::string& tempFolder, std::set<std::string>& unfinished) {
  std::string list;
  if (fs.ReadWholeFile(tempFolder + "\\" + kSamplesList, list) != platform::kOk) return;
  for (std::size_t start = 0, end; start < list.size(); start = end + 1) {
    end = list.find('\n', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) unfinished.insert(Key(target + list.substr(start, end - start)));
  }
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether `name` is `pattern` (lower case) with each "#" standing for one or
// more digits; letters in either case.
bool Numbered(std::string_view name, std::string_view pattern) {
  std::size_t at = 0;
  for (const char want : pattern) {
    if (want == '#') {
      const std::size_t start = at;
      while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
      if (at == start) return false;
    } else if (at == name.size() || AsciiLower(name[at]) != want) {
      return false;
    } else {
      ++at;
    }
  }
  return at == name.size();
}

// The first existing folder from `folder` up to its drive's root.
std::string ExistingFolder(platform::FileSystem& fs, std::string folder) {
  while (!platform::FolderExists(fs, folder) && folder.size() > 3) {
    folder = platform::FolderPart(folder);
    if (folder.size() > 3) folder.pop_back();
  }
  return folder;
}

std::uint64_t InClusters(std::uint64_t bytes, std::uint32_t cluster) {
  return cluster == 0 ? bytes : (bytes + cluster - 1) / cluster * cluster;
}

}  // namespace

std::string TempFolderName(unsigned n) { return "~setup" + std::to_string(n) + ".tmp"; }
bool IsTempFolderName(std::string_view name) { return Numbered(name, "~setup#.tmp"); }
bool IsTempFileName(std::string_view name) {
  return Numbered(name, "#") || Numbered(name, kSamplesList);
}
bool IsWholeWriteTempName(std::string_view name) { return Numbered(name, "~wr#.#.tmp"); }

bool TargetSurvey::Found(const std::string& path) const { return entries.count(Key(path)) != 0; }

bool TargetSurvey::SitesOwn(const std::string& path) const {
  return Found(path) && unfinished.count(Key(path)) == 0;
}

std::optional<platform::FileInfo> TargetSurvey::Source(const std::string& path) const {
  const auto it = sources.find(Key(path));
  if (it == sources.end()) return std::nullopt;
  return it->second;
}

bool TargetSurvey::KnownAbsent(const std::string& path) const {
  return !Found(path) && listed.count(Key(platform::FolderPart(path))) != 0;
}

namespace {

// Lists `folders` (the target's first) into `survey`, and what a stopped run
// left in the target. False, with the link named, at a folder that is a
// link: nothing after it is looked at.
bool ListTarget(platform::FileSystem& fs, const std::vector<std::string>& folders,
                TargetSurvey& survey) {
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
      return false;
    }
    // One listing of each folder tells what is there: asking for each name
    // that is not would cost the system a look through the folder each time.
    // An empty listing cannot be told from one that failed, so it tells
    // nothing.
    const auto entries = fs.Search(folder + "*", platform::SearchFilter::kEverything);
    if (!entries.empty()) survey.listed.insert(Key(folder));
    for (const auto& entry : entries) {
      survey.entries.insert(Key(folder + entry.name));
      const bool isFolder = (entry.attributes & platform::kAttrDirectory) != 0;
      const bool leftover = isFolder ? IsTempFolderName(entry.name)
                                     : IsWholeWriteTempName(entry.name);
      if (&folder == &folders.front() && leftover &&
          (entry.attributes & platform::kAttrReparsePoint) == 0) {
        survey.leftovers.push_back(folder + entry.name);
        if (isFolder) ReadSamplesList(fs, folder, folder + entry.name, survey.unfinished);
      }
    }
  }
  return true;
}

// The sources' sizes from one listing of each of their folders: asking for
// each file would cost a call of the system per file.
void ListSources(platform::FileSystem& fs, const std::vector<PlannedCopy>& copies,
                 TargetSurvey& survey) {
  std::set<std::string> sourceFolders;
  for (const PlannedCopy& copy : copies) {
    const std::string folder = platform::FolderPart(copy.source);
    if (!AskedFor(copy.name) || !sourceFolders.insert(Key(folder)).second) continue;
    for (const auto& entry : fs.Search(folder + "*", platform::SearchFilter::kEverything)) {
      if ((entry.attributes & platform::kAttrDirectory) == 0) {
        survey.sources[Key(folder + entry.name)] = {entry.attributes, entry.size};
      }
    }
  }
}

// Adds those of `replaced`, the files the installation would replace, that
// a program holds to `survey.inUse`. A program can hold a file that is not
// replaced, such as a program this distribution does not hold: that one
// does not count. Windows refuses writing to a read-only file before it
// looks at who holds it.
void FindInUse(platform::FileSystem& fs, const std::vector<std::string>& replaced,
               TargetSurvey& survey) {
  std::vector<std::string> readOnly;
  for (const std::string& target : replaced) {
    const platform::ErrorCode error = fs.ProbeReplace(target);
    if (InUse(error)) {
      survey.inUse.push_back(target);
    } else if (error == platform::kErrorAccessDenied) {
      const auto attributes = fs.Attributes(target);
      if (attributes && (*attributes & (platform::kAttrReadOnly | platform::kAttrDirectory)) ==
                            platform::kAttrReadOnly) {
        readOnly.push_back(target);
      }
    }
  }
  // Where the system can tell, it is asked about all of them, and names the
  // programs too; where it cannot (XP), a read-only file is probed as a
  // rename over it asks, for deleting only, which its attribute allows.
  if (const auto held = fs.FilesHeld(replaced)) {
    for (const std::string& target : *held) {
      if (std::find(survey.inUse.begin(), survey.inUse.end(), target) == survey.inUse.end()) {
        survey.inUse.push_back(target);
      }
    }
  } else {
    for (const std::string& target : readOnly) {
      if (InUse(fs.ProbeDelete(target))) survey.inUse.push_back(target);
    }
  }
}

}  // namespace

TargetSurvey SurveyTarget(const InstallPlan& plan, platform::FileSystem& fs,
                          const std::vector<std::string>& alsoWritten, std::uint64_t reserve) {
  TargetSurvey survey;
  const std::vector<PlannedCopy> copies = plan.Copies();
  if (!ListTarget(fs, PlanFolders(plan, copies), survey)) return survey;
  survey.space = fs.FreeSpace(ExistingFolder(fs, plan.Target));
  const std::uint32_t cluster = survey.space ? survey.space->cluster : 1;
  survey.needed = InClusters(reserve, cluster);
  ListSources(fs, copies, survey);
  std::vector<std::string> replaced;
  for (const PlannedCopy& copy : copies) {
    if (!AskedFor(copy.name)) continue;
    if (!copy.replaces && survey.SitesOwn(copy.target)) continue;  // never replaced
    const auto source = survey.Source(copy.source);
    if (!source) continue;
    survey.needed += InClusters(source->size, cluster);
    if (copy.replaces && survey.Found(copy.target)) replaced.push_back(copy.target);
  }
  for (const std::string& target : alsoWritten) {
    if (survey.Found(target)) replaced.push_back(target);
  }
  FindInUse(fs, replaced, survey);
  return survey;
}

}  // namespace install
