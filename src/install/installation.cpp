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

std::size_t InstallPlan::CopyCount() const {
  return InstFiles.size() + Stations.size() + RunFiles.size() + HtmlNames.size() +
         PicFiles.size() + (BmpName.empty() ? 0 : 1) + (DataSubDir.empty() ? 0 : DataFiles.size());
}

namespace {

class CopyRun {
 public:
  CopyRun(const InstallPlan& plan, platform::FileSystem& fs, CopyProgress* progress)
      : plan_(plan), fs_(fs), progress_(progress) {}

  InstallResult Run();

 private:
  // One copy of `name` from SrcDir + sourceFolder to DestDir + targetFolder.
  void Copy(const std::string& sourceFolder, const std::string& targetFolder,
            const std::string& name);
  // Whether a copy that failed with `error` asked for a file the
  // distribution does not hold.
  bool LeftOut(const std::string& source, platform::ErrorCode error);
  // Whether a name Windows cannot use, which is never asked for (AUX or
  // COM1.cfg could open a serial port), counts as a file the distribution
  // does not hold: while the folder it would be in can be read.
  bool NamedNoFile(const std::string& sourceFolder);

  const InstallPlan& plan_;
  platform::FileSystem& fs_;
  CopyProgress* progress_;
  InstallResult result_;
};

void CopyRun::Copy(const std::string& sourceFolder, const std::string& targetFolder,
                   const std::string& name) {
  if (progress_ != nullptr && progress_->stop.load(std::memory_order_relaxed)) return;
  const std::string target = result_.DestDir + targetFolder + name;
  if (!StaysInside(name) || setup::WindowsLength(target) > setup::kMaxPathLength) {
    result_.NotInstalled.push_back(target);
  } else if (!setup::UsableRelativeName(name)) {
    if (!NamedNoFile(sourceFolder)) result_.NotInstalled.push_back(target);
  } else {
    const std::string source = plan_.SrcDir + sourceFolder + name;
    const platform::ErrorCode error = platform::CopyWritable(fs_, source, target);
    if (error != platform::kOk && !LeftOut(source, error)) result_.NotInstalled.push_back(target);
  }
  if (progress_ != nullptr) progress_->done.fetch_add(1, std::memory_order_relaxed);
}

bool CopyRun::NamedNoFile(const std::string& sourceFolder) {
  return platform::FolderExists(fs_, plan_.SrcDir + sourceFolder);
}

bool CopyRun::LeftOut(const std::string& source, platform::ErrorCode error) {
  // A file the distribution does not hold is expected (a station typed by the
  // user, the "*" placeholder, a program this edition leaves out) and stays
  // silent, but only when the system says so: the file, or a folder on its
  // way, is not found (or, for a pattern such as "*.cfg", cannot be named),
  // no file answers to the name, and the file's own folder can still be read.
  // Once that folder is gone (the disc taken out, a share dropped or denied)
  // a missing file tells nothing. Every other failure counts: access denied,
  // a read error, a drive not ready, a full disk.
  //
  // The scan gives U+FFFD for a character of a name it could not convert; the
  // file is there, but cannot be asked for by that name.
  if (source.find("\xEF\xBF\xBD") != std::string::npos) return false;
  // A folder named in Install.dat is not installed.
  if (platform::FolderExists(fs_, source)) return false;
  const bool notFound = error == platform::kErrorFileNotFound ||
                        error == platform::kErrorPathNotFound ||
                        error == platform::kErrorInvalidName;
  return notFound && !platform::FileExists(fs_, source) &&
         platform::FolderExists(fs_, platform::FolderPart(source));
}

InstallResult CopyRun::Run() {
  const std::string& target = plan_.Target;
  ForceDir(fs_, target);
  ForceDir(fs_, target + "\\MSinfo");
  ForceDir(fs_, target + "\\MSinfo\\pic");
  result_.DestDir = target + "\\";

  const std::string year = std::to_string(plan_.Year);
  result_.YearSeq = year.substr(2, 2) + "001";
  result_.DataDir = result_.DestDir + "DATA" + year;
  ForceDir(fs_, result_.DataDir);
  // The system file names this folder whether or not it could be made (a file
  // of its name in the way, a full or write-protected drive); that file stays.
  if (!platform::FolderExists(fs_, result_.DataDir)) result_.NotInstalled.push_back(result_.DataDir);

  for (const auto& line : plan_.InstFiles) Copy("prog\\", "", line);
  for (const auto& station : plan_.Stations) Copy("config\\", "", station + ".cfg");
  for (const auto& name : plan_.RunFiles) Copy("config\\", "", name);
  for (const auto& station : plan_.HtmlNames) Copy("config\\MSinfo\\", "MSinfo\\", station + ".html");
  for (const auto& name : plan_.PicFiles) Copy("config\\MSinfo\\pic\\", "MSinfo\\pic\\", name);
  if (!plan_.BmpName.empty()) Copy("config\\", "", plan_.BmpName);
  if (!plan_.DataSubDir.empty()) {
    if (StaysInside(plan_.DataSubDir) && setup::UsableRelativeName(plan_.DataSubDir)) {
      ForceDir(fs_, result_.DestDir + plan_.DataSubDir);
    }
    const std::string dataFolder = plan_.DataSubDir + "\\";
    for (const auto& name : plan_.DataFiles) Copy("", "", dataFolder + name);
  }
  return std::move(result_);
}

}  // namespace

InstallResult CopyFiles(const InstallPlan& plan, platform::FileSystem& fs, CopyProgress* progress) {
  return CopyRun(plan, fs, progress).Run();
}

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

void Installation::RunInstall() { Apply(CopyFiles(Plan(), fs_)); }

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
