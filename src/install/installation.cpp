#include "install/installation.h"

#include "setup/setup_error.h"
#include "setup/system_setup.h"

namespace install {

using setup::SetupError;

const char* RefusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNoDrive: return "Der er ikke fundet noget drev at installere på";
    case Refusal::kNoProgramFolder: return "Der er ikke angivet nogen programmappe";
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
  return Refusal::kNone;
}

void Installation::ForceDir(const std::string& path) {
  if (path.empty()) throw SetupError("Unable to create directory");
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  const std::size_t split = folder.find_last_of("\\:");
  const std::string parent = split == std::string::npos ? folder : folder.substr(0, split + 1);
  if (folder.size() < 3 || platform::FolderExists(fs_, folder) || parent == folder) return;
  ForceDir(parent);
  fs_.CreateFolder(folder);  // a failure shows in the copies into it
}

std::size_t Installation::PlannedCopies() const {
  return static_cast<std::size_t>(state_.InstFiles.Count() + state_.RunFiles.Count() +
                                  state_.HtmlNames.Count() + state_.PicFiles.Count() +
                                  (state_.DataSubDir.empty() ? 0 : state_.DataFiles.Count())) +
         state_.MSnavn.items.size() + (state_.BmpName.empty() ? 0 : 1);
}

void Installation::Copy(const std::string& sourceFolder, const std::string& targetFolder,
                        const std::string& name) {
  const std::string target = state_.DestDir + targetFolder + name;
  if (!StaysInside(name)) {
    notInstalled_.push_back(target);
  } else {
    const std::string source = state_.SrcDir + sourceFolder + name;
    if (platform::CopyWritable(fs_, source, target) != platform::kOk && !LeftOut(source)) {
      notInstalled_.push_back(target);
    }
  }
  if (progress_) progress_(++done_, total_);
}

bool Installation::LeftOut(const std::string& source) {
  // A file the distribution does not hold is expected (a station typed by the
  // user, the "*" placeholder, a program this edition leaves out) and stays
  // silent; but once the source folder itself cannot be read (the disc taken
  // out, a share gone) a missing file tells nothing, and every failure counts.
  return !platform::FileExists(fs_, source) && platform::FolderExists(fs_, state_.SrcDir);
}

void Installation::RunInstall() {
  if (const Refusal refusal = CheckTarget(); refusal != Refusal::kNone) {
    throw SetupError(RefusalText(refusal));
  }
  const std::string target = TargetFolder();
  ForceDir(target);
  ForceDir(target + "\\MSinfo");
  ForceDir(target + "\\MSinfo\\pic");
  state_.DestDir = target + "\\";

  const std::string year = std::to_string(fs_.LocalYear());
  state_.YearSeq = year.substr(2, 2) + "001";
  state_.DataDir = state_.DestDir + "DATA" + year;
  ForceDir(state_.DataDir);

  done_ = 0;
  total_ = PlannedCopies();
  for (const auto& line : state_.InstFiles.Lines()) Copy("prog\\", "", line);
  for (const auto& station : state_.MSnavn.items) Copy("config\\", "", station + ".cfg");
  for (const auto& name : state_.RunFiles.Lines()) Copy("config\\", "", name);
  for (const auto& station : state_.HtmlNames.Lines()) {
    Copy("config\\MSinfo\\", "MSinfo\\", station + ".html");
  }
  for (const auto& name : state_.PicFiles.Lines()) Copy("config\\MSinfo\\pic\\", "MSinfo\\pic\\", name);
  if (!state_.BmpName.empty()) Copy("config\\", "", state_.BmpName);
  if (!state_.DataSubDir.empty()) {
    if (StaysInside(state_.DataSubDir)) ForceDir(state_.DestDir + state_.DataSubDir);
    state_.DataSubDir += "\\";
    for (const auto& name : state_.DataFiles.Lines()) Copy("", "", state_.DataSubDir + name);
  }
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
