#include "install/installation.h"

#include <algorithm>

#include "platform/unicode.h"
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
  for (const auto& name : PicFiles) add(CopyGroup::kPicture, "config\\MSinfo\\pic\\", "MSinfo\\pic\\", name);
  if (!BmpName.empty()) add(CopyGroup::kBitmap, "config\\", "", BmpName);
  if (!DataSubDir.empty()) {
    for (const auto& name : DataFiles) add(CopyGroup::kSampleData, "", "", DataSubDir + "\\" + name);
  }
  return copies;
}

std::size_t InstallPlan::CopyCount() const { return Copies().size(); }

namespace {

std::string Key(const std::string& path) { return platform::ToUpper(path); }

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
  if (!plan.DataSubDir.empty() && StaysInside(plan.DataSubDir)) add(destDir + plan.DataSubDir + "\\");
  for (const PlannedCopy& copy : copies) {
    if (!StaysInside(copy.name)) continue;
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

bool TargetSurvey::Held(const std::string& path) const { return entries.count(Key(path)) != 0; }

bool TargetSurvey::KnownAbsent(const std::string& path) const {
  return !Held(path) && listed.count(Key(platform::FolderPart(path))) != 0;
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
    if (survey.Held(target) && InUse(fs.ProbeReplace(target)) &&
        (source == nullptr || platform::FileExists(fs, *source))) {
      survey.inUse.push_back(target);
    }
  };
  for (const PlannedCopy& copy : copies) {
    if (copy.group != CopyGroup::kSampleData && StaysInside(copy.name)) probe(copy.target, &copy.source);
  }
  for (const std::string& target : alsoWritten) probe(target, nullptr);
  return survey;
}

namespace {

constexpr std::uint32_t kReadOnly = platform::kAttrReadOnly;

bool Exists(platform::ErrorCode error) {
  return error == platform::kErrorFileExists || error == platform::kErrorAlreadyExists;
}

// Whether a copy that failed with `error` may have made its target: every
// failure but those that come before it is made, when the source or the
// target cannot be opened.
bool BrokeOff(platform::ErrorCode error) {
  switch (error) {
    case platform::kOk:
    case platform::kErrorFileNotFound:
    case platform::kErrorPathNotFound:
    case platform::kErrorAccessDenied:
    case platform::kErrorSharingViolation:
    case platform::kErrorLockViolation:
    case platform::kErrorFileExists:
    case platform::kErrorAlreadyExists:
    case platform::kErrorInvalidName:
      return false;
    default:
      return true;
  }
}

class CopyRun {
 public:
  CopyRun(const InstallPlan& plan, platform::FileSystem& fs, const TargetSurvey& survey,
          CopyProgress* progress)
      : plan_(plan), fs_(fs), survey_(survey), progress_(progress) {}
  ~CopyRun();

  InstallResult Run();

 private:
  // One copy of the plan; lists its target unless it is done or silent.
  void Copy(const PlannedCopy& copy);
  // A copy to a target that is not there; kErrorFileExists when it is.
  platform::ErrorCode CopyNew(const PlannedCopy& copy);
  // A copy that takes an existing target's place only once it is whole.
  platform::ErrorCode Replace(const PlannedCopy& copy);
  // Deletes a file this run made, read-only as its source may have made it.
  void Discard(const std::string& path);
  // Whether `to` is a whole copy of a file that `source` described before
  // the copy; clears its read-only attribute.
  platform::ErrorCode CheckWhole(const std::optional<platform::FileInfo>& source,
                                 const std::string& to);
  // Whether a copy that failed with `error` asked for a file the
  // distribution does not hold.
  bool LeftOut(const std::string& source, platform::ErrorCode error);
  // Whether a name Windows cannot use, which is never asked for (AUX or
  // COM1.cfg could open a serial port), counts as a file the distribution
  // does not hold: while the folder it would be in can be read.
  bool NamedNoFile(const PlannedCopy& copy);

  const InstallPlan& plan_;
  platform::FileSystem& fs_;
  const TargetSurvey& survey_;
  CopyProgress* progress_;
  InstallResult result_;
  std::string tempFolder_;  // made for the first replacement, with "\\"
  unsigned tempCount_ = 0;
};

CopyRun::~CopyRun() {
  // Empty once every replacement has taken its place or been deleted.
  if (!tempFolder_.empty()) fs_.RemoveFolder(tempFolder_.substr(0, tempFolder_.size() - 1));
}

void CopyRun::Copy(const PlannedCopy& copy) {
  if (progress_ != nullptr && progress_->stop.load(std::memory_order_relaxed)) return;
  if (!StaysInside(copy.name) || setup::WindowsLength(copy.target) > setup::kMaxPathLength) {
    result_.NotInstalled.push_back(copy.target);
  } else if (!setup::UsableRelativeName(copy.name)) {
    // Never asked for: Windows might open a device by that name.
    if (!NamedNoFile(copy)) result_.NotInstalled.push_back(copy.target);
  } else if (copy.group == CopyGroup::kSampleData && survey_.Held(copy.target)) {
    // The site's own measurements under a sample's name stay as they are.
  } else {
    platform::ErrorCode error =
        survey_.Held(copy.target) ? platform::kErrorFileExists : CopyNew(copy);
    if (Exists(error) && copy.group != CopyGroup::kSampleData) error = Replace(copy);
    if (error != platform::kOk && !Exists(error) && !LeftOut(copy.source, error)) {
      result_.NotInstalled.push_back(copy.target);
    }
  }
  if (progress_ != nullptr) progress_->done.fetch_add(1, std::memory_order_relaxed);
}

platform::ErrorCode CopyRun::CopyNew(const PlannedCopy& copy) {
  const auto source = fs_.Info(copy.source);
  platform::ErrorCode error = fs_.CopyNewFile(copy.source, copy.target);
  if (error == platform::kOk) error = CheckWhole(source, copy.target);
  // A copy that broke off part way leaves a short file, which no program
  // could use; only one that was not there before is deleted, and only
  // after a failure that comes once the file is made.
  if (BrokeOff(error) && !platform::NamePart(copy.target).empty() &&
      survey_.KnownAbsent(copy.target)) {
    Discard(copy.target);
  }
  return error;
}

platform::ErrorCode CopyRun::Replace(const PlannedCopy& copy) {
  if (tempFolder_.empty()) {
    // A folder of its own keeps the temporary names out of the target's
    // folders, which can be large, and out of every listing of them.
    for (unsigned n = 0; n < 100 && tempFolder_.empty(); ++n) {
      const std::string folder = plan_.Target + "\\~setup" + std::to_string(n) + ".tmp";
      if (!survey_.Held(folder) && fs_.CreateFolder(folder) == platform::kOk) tempFolder_ = folder + "\\";
    }
    if (tempFolder_.empty()) return platform::kErrorAccessDenied;
  }
  const std::string temp = tempFolder_ + std::to_string(++tempCount_);
  const auto source = fs_.Info(copy.source);
  platform::ErrorCode error = fs_.CopyNewFile(copy.source, temp);
  if (error == platform::kOk) error = CheckWhole(source, temp);
  if (error == platform::kOk) error = fs_.MoveReplace(temp, copy.target);
  if (error == platform::kErrorAccessDenied) {
    // Windows renames over no read-only file: it is cleared for the rename
    // and set again when that still fails.
    const auto old = fs_.Info(copy.target);
    if (old && (old->attributes & (kReadOnly | platform::kAttrDirectory)) == kReadOnly &&
        fs_.SetAttributes(copy.target, old->attributes & ~kReadOnly) == platform::kOk) {
      error = fs_.MoveReplace(temp, copy.target);
      if (error != platform::kOk) fs_.SetAttributes(copy.target, old->attributes);
    }
  }
  if (error != platform::kOk) Discard(temp);
  return error == platform::kErrorFileExists ? platform::kErrorAccessDenied : error;
}

void CopyRun::Discard(const std::string& path) {
  if (fs_.RemoveFile(path) == platform::kErrorAccessDenied &&
      fs_.SetAttributes(path, platform::kAttrArchive) == platform::kOk) {
    fs_.RemoveFile(path);
  }
}

platform::ErrorCode CopyRun::CheckWhole(const std::optional<platform::FileInfo>& source,
                                        const std::string& to) {
  // Some systems report a copy done whose reading broke off part way. The
  // source is looked at before the copy: the disc may be gone after it.
  const auto copied = fs_.Info(to);
  if (!source || !copied || source->size != copied->size) return platform::kErrorWriteFault;
  // Every file on a CD is read-only; the installed one is left writable, as
  // xcopy leaves it.
  if ((copied->attributes & kReadOnly) != 0) return fs_.SetAttributes(to, copied->attributes & ~kReadOnly);
  return platform::kOk;
}

bool CopyRun::NamedNoFile(const PlannedCopy& copy) {
  return platform::FolderExists(fs_, copy.source.substr(0, copy.source.size() - copy.name.size()));
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

  const std::vector<PlannedCopy> copies = plan_.Copies();
  const auto samples = std::find_if(copies.begin(), copies.end(), [](const PlannedCopy& copy) {
    return copy.group == CopyGroup::kSampleData;
  });
  std::for_each(copies.begin(), samples, [this](const PlannedCopy& copy) { Copy(copy); });
  if (!plan_.DataSubDir.empty() && StaysInside(plan_.DataSubDir) &&
      setup::UsableRelativeName(plan_.DataSubDir)) {
    ForceDir(fs_, result_.DestDir + plan_.DataSubDir);
  }
  std::for_each(samples, copies.end(), [this](const PlannedCopy& copy) { Copy(copy); });
  return std::move(result_);
}

}  // namespace

InstallResult CopyFiles(const InstallPlan& plan, platform::FileSystem& fs, const TargetSurvey& survey,
                        CopyProgress* progress) {
  return CopyRun(plan, fs, survey, progress).Run();
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
