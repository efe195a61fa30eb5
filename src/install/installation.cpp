#include "install/installation.h"

#include "install/target_check.h"
#include "setup/names.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"

namespace install {

using setup::SetupError;

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

namespace {

// Whether a part of the path is "..", or what can act as "..": Windows drops
// trailing dots and spaces, so ". ." or "..." do too.
bool HasParentPart(const std::string& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    if (part != "." && !part.empty() && part.find_first_not_of(". ") == std::string::npos) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace

bool StaysInside(const std::string& name) {
  if (name.empty()) return true;
  if (name.front() == '\\' || name.front() == '/' || name.find(':') != std::string::npos) {
    return false;
  }
  return !HasParentPart(name);
}

bool AskedFor(const std::string& name) {
  return StaysInside(name) && setup::UsableRelativeName(name);
}

std::string Installation::TargetFolder() const {
  return state_.DrBox.Selected() + ":\\" + setup::WithoutDrivePrefix(state_.PrBib);
}

Refusal Installation::CheckTarget() const {
  if (state_.DrBox.Selected().empty()) return Refusal::kNoDrive;
  const std::string folder = setup::WithoutDrivePrefix(state_.PrBib);
  // Only separators, dots and spaces would name the drive root itself, and a
  // ".." part can lead back to it ("KAMBRIX\..").
  if (folder.find_first_not_of("\\/. ") == std::string::npos || HasParentPart(folder)) {
    return Refusal::kNoProgramFolder;
  }
  return FolderRefusal(state_, fs_, folder, TargetFolder());
}

void ForceDir(platform::FileSystem& fs, const std::string& path) {
  if (path.empty()) throw SetupError("Unable to create directory");
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  const std::size_t split = folder.find_last_of("\\:");
  const std::string parent = split == std::string::npos ? folder : folder.substr(0, split + 1);
  if (folder.size() < 3 || platform::FolderExists(fs, folder) || parent == folder) return;
  ForceDir(fs, parent);
  fs.CreateFolder(folder);  // a failure shows in the copies into it
}

std::vector<PlannedCopy> InstallPlan::Copies() const {
  std::vector<PlannedCopy> copies;
  const std::string destDir = Target + "\\";
  const auto add = [&](CopyGroup group, const char* folder, const char* targetFolder,
                       const std::string& name) {
    copies.push_back({name, SrcDir + folder + name, destDir + targetFolder + name, group});
  };
  for (const auto& line : InstFiles) add(CopyGroup::kProgram, "prog\\", "", line);
  for (const auto& station : Stations) add(CopyGroup::kStation, "config\\", "", station + ".cfg");
  for (const auto& name : RunFiles) add(CopyGroup::kRun, "config\\", "", name);
  for (const auto& station : HtmlNames) {
    add(CopyGroup::kInfoPage, "config\\MSinfo\\", "MSinfo\\", station + ".html");
  }
  for (const auto& name : PicFiles) {
    add(CopyGroup::kPicture, "config\\MSinfo\\pic\\", "MSinfo\\pic\\", name);
  }
  if (!BmpName.empty()) add(CopyGroup::kBitmap, "config\\", "", BmpName);
  if (!DataSubDir.empty()) {
    for (const auto& name : DataFiles) {
      add(CopyGroup::kSampleData, "", "", DataSubDir + "\\" + name);
    }
  }
  return copies;
}

std::size_t InstallPlan::CopyCount() const { return Copies().size(); }

InstallPlan Installation::Plan() const {
  if (const Refusal refusal = CheckTarget(); refusal != Refusal::kNone) {
    throw SetupError(RefusalText(refusal));
  }
  InstallPlan plan;
  plan.SrcDir = state_.SrcDir;
  plan.Target = TargetFolder();
  plan.InstFiles = state_.InstFiles.Lines();
  plan.Stations = state_.MSnavn.items;
  plan.RunFiles = state_.RunFiles.Lines();
  plan.HtmlNames = state_.HtmlNames.Lines();
  plan.PicFiles = state_.PicFiles.Lines();
  plan.BmpName = state_.BmpName;
  plan.DataSubDir = state_.DataSubDir;
  plan.DataFiles = state_.DataFiles.Lines();
  plan.Year = fs_.LocalYear();
  return plan;
}

void Installation::Apply(InstallResult result) {
  state_.DestDir = std::move(result.DestDir);
  state_.DataDir = std::move(result.DataDir);
  state_.YearSeq = std::move(result.YearSeq);
  notInstalled_.insert(notInstalled_.end(), result.NotInstalled.begin(), result.NotInstalled.end());
}

void Installation::MakeShortcut(const std::string& name, bool withArguments) {
  platform::Shortcut shortcut;
  shortcut.target = state_.DestDir + name + ".exe";
  shortcut.workingDirectory = platform::FolderPart(shortcut.target);
  if (withArguments) shortcut.arguments = state_.SysNavn;

  const auto desktop = shell_.DesktopFolder();
  if (!desktop) {
    // Never guess a place: without the desktop folder no shortcut is made.
    notInstalled_.push_back(name + ".lnk");
    return;
  }
  shortcut.linkPath = *desktop + "\\" + name + ".lnk";
  const platform::ShortcutResult result = shell_.SaveShortcut(shortcut);
  using Failure = platform::ShortcutResult::Failure;
  if (result.failure == Failure::kCreateObject || result.failure == Failure::kQueryInterface) {
    throw SetupError(shell_.MessageFor(result.code));
  }
  if (result.failure == Failure::kSave) notInstalled_.push_back(shortcut.linkPath);
}

}  // namespace install
