#include "install/copy_run.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "setup/names.h"
#include "setup/setup_error.h"

namespace install {

namespace {

using setup::AskedFor;

constexpr std::uint32_t kReadOnly = platform::kAttrReadOnly;

// Creates a folder and its missing parents. Raises "Unable to create
// directory" for an empty path; failing to create a folder is silent (the
// copies into it then fail and are reported).
void ForceDir(platform::FileSystem& fs, const std::string& path) {
  if (path.empty()) throw setup::SetupError("Unable to create directory");
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  const std::size_t split = folder.find_last_of("\\:");
  const std::string parent = split == std::string::npos ? folder : folder.substr(0, split + 1);
  if (folder.size() < 3 || platform::FolderExists(fs, folder) || parent == folder) return;
  ForceDir(fs, parent);
  fs.CreateFolder(folder);  // a failure shows in the copies into it
}

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

  InstallResult Run();

 private:
  // One copy of the plan; lists its target unless it is done or silent.
  void Copy(const PlannedCopy& copy);
  // A copy to a target that is not there; kErrorFileExists when it is.
  platform::ErrorCode CopyNew(const PlannedCopy& copy);
  // A copy made under a temporary name that takes the old file's name only
  // once it is whole and on the disk.
  platform::ErrorCode Replace(const PlannedCopy& copy);
  // Makes the temporary folder of this run in the target, once.
  platform::ErrorCode MakeTempFolder();
  // Before the first sample is made: lists, on the disk, the samples this
  // run makes, so that a run stopped part way leaves none that looks like
  // the site's own. Gone again once they are all made. False when the list
  // cannot be written: then no sample may be made.
  bool ListSamples(const std::vector<PlannedCopy>& samples);
  // Deletes what an earlier run left in the target when it was stopped.
  void CleanLeftovers();
  // The source as it was before its copy: from the look at the target, or
  // asked now where that did not see it.
  std::optional<platform::FileInfo> SourceBefore(const PlannedCopy& copy);
  // Deletes a file this run made, read-only as its source may have made it.
  void Discard(const std::string& path);
  // Whether `to` is a whole copy of a file that `source` described before
  // the copy; clears its read-only attribute and writes its data to the
  // disk, so that no name ever leads to data a power cut can still take.
  platform::ErrorCode CheckWhole(const std::optional<platform::FileInfo>& source,
                                 const std::string& to);
  // Clears the read-only attribute that the copy `to` took from `source`.
  platform::ErrorCode MakeWritable(const std::optional<platform::FileInfo>& source,
                                   const std::string& to);
  // Writes the new files to the disk, each checked whole as CheckWhole
  // does; one that is not is deleted and listed.
  void FlushNewFiles();
  // Writes `path` to the disk and checks that it holds `size` bytes.
  platform::ErrorCode FlushWhole(const std::string& path, std::uint64_t size);
  void Count() {
    if (progress_ != nullptr) progress_->done.fetch_add(1, std::memory_order_relaxed);
  }
  bool Stopping() const {
    return progress_ != nullptr && progress_->stop.load(std::memory_order_relaxed);
  }
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
  std::string samplesList_;  // written before the samples, while they are made
  bool samplesListed_ = true;
  struct Unflushed {
    std::string path;
    std::uint64_t size;  // of the source, before the copy
  };
  std::vector<Unflushed> unflushed_;
};

void CopyRun::Copy(const PlannedCopy& copy) {
  if (Stopping()) return;
  const std::size_t flushedBefore = unflushed_.size();
  if (!setup::StaysInside(copy.name) ||
      setup::WindowsLength(copy.target) > setup::kMaxPathLength ||
      setup::WindowsLength(copy.source) > setup::kMaxPathLength) {
    result_.NotInstalled.push_back(copy.target);
  } else if (!setup::UsableRelativeName(copy.name)) {
    // Never asked for: Windows might open a device by that name.
    if (!NamedNoFile(copy)) result_.NotInstalled.push_back(copy.target);
  } else if (!copy.replaces && survey_.SitesOwn(copy.target)) {
    // The site's own measurements under a sample's name stay as they are.
  } else if (!copy.replaces && !samplesListed_) {
    result_.NotInstalled.push_back(copy.target);
  } else {
    platform::ErrorCode error = survey_.Found(copy.target) ? Replace(copy) : CopyNew(copy);
    // Another program made a sample's file meanwhile: it is the site's now.
    if (!copy.replaces && Exists(error)) error = platform::kOk;
    if (Exists(error)) error = Replace(copy);
    if (error != platform::kOk && !LeftOut(copy.source, error)) {
      result_.NotInstalled.push_back(copy.target);
    }
  }
  // A step for the copy, and one for its flush, done now or once all are copied.
  Count();
  if (unflushed_.size() == flushedBefore) Count();
}

platform::ErrorCode CopyRun::CopyNew(const PlannedCopy& copy) {
  const auto source = SourceBefore(copy);
  platform::ErrorCode error = fs_.CopyNewFile(copy.source, copy.target);
  if (error == platform::kOk) error = MakeWritable(source, copy.target);
  // Written to the disk with the others once all are copied: the system
  // then writes them back in fewer, larger steps than one file at a time.
  if (error == platform::kOk) {
    unflushed_.push_back({copy.target, source->size});
    return error;
  }
  // A copy that broke off part way leaves a short file, which no program
  // could use; only one that was not there before is deleted, and only
  // after a failure that comes once the file is made.
  if (BrokeOff(error) && !platform::NamePart(copy.target).empty() &&
      survey_.KnownAbsent(copy.target)) {
    Discard(copy.target);
  }
  return error;
}

platform::ErrorCode CopyRun::MakeTempFolder() {
  if (!tempFolder_.empty()) return platform::kOk;
  // A folder of its own keeps the temporary names out of the target's
  // folders, which can be large, and out of every listing of them.
  platform::ErrorCode made = platform::kErrorAccessDenied;
  for (unsigned n = 0; n < 100 && made != platform::kOk; ++n) {
    const std::string folder = plan_.Target + "\\" + TempFolderName(n);
    made = fs_.CreateFolder(folder);
    if (made == platform::kOk) tempFolder_ = folder + "\\";
    if (made != platform::kErrorAlreadyExists && made != platform::kErrorFileExists) break;
  }
  return made;
}

platform::ErrorCode CopyRun::Replace(const PlannedCopy& copy) {
  // A source the distribution does not hold is told as such, whatever the
  // target is like.
  if (const platform::ErrorCode made = MakeTempFolder()) {
    return platform::FileExists(fs_, copy.source) ? made : platform::kErrorFileNotFound;
  }
  const std::string temp = tempFolder_ + std::to_string(++tempCount_);
  const auto source = SourceBefore(copy);
  platform::ErrorCode error = fs_.CopyNewFile(copy.source, temp);
  if (error == platform::kOk) error = CheckWhole(source, temp);
  if (error == platform::kOk) {
    error = fs_.MoveReplace(temp, copy.target);
    // Windows renames over no read-only file (NTFS says access denied, FAT
    // that it exists): it is cleared for the rename and set again when that
    // still fails.
    const auto old = error == platform::kErrorAccessDenied || error == platform::kErrorAlreadyExists
                         ? fs_.Info(copy.target)
                         : std::nullopt;
    if (old && (old->attributes & (kReadOnly | platform::kAttrDirectory)) == kReadOnly &&
        fs_.SetAttributes(copy.target, old->attributes & ~kReadOnly) == platform::kOk) {
      error = fs_.MoveReplace(temp, copy.target);
      if (error != platform::kOk) fs_.SetAttributes(copy.target, old->attributes);
    }
  }
  if (error != platform::kOk) Discard(temp);
  // Every failure of the rename is told: the file is not installed.
  if (Exists(error)) return platform::kErrorAccessDenied;
  return error;
}

bool CopyRun::ListSamples(const std::vector<PlannedCopy>& samples) {
  std::string list;
  const std::size_t folder = plan_.Target.size() + 1;
  for (const PlannedCopy& copy : samples) {
    if (AskedFor(copy.name) && !survey_.SitesOwn(copy.target)) {
      list += copy.target.substr(folder) + "\n";
    }
  }
  // Without the list a stopped run could leave a short sample that looks
  // like the site's own for good.
  if (list.empty()) return true;
  if (MakeTempFolder() != platform::kOk ||
      fs_.WriteWholeFile(tempFolder_ + kSamplesList, list) != platform::kOk) {
    return false;
  }
  samplesList_ = tempFolder_ + kSamplesList;
  return true;
}

void CopyRun::CleanLeftovers() {
  for (const std::string& path : survey_.leftovers) {
    if (!IsTempFolderName(platform::NamePart(path))) {
      Discard(path);
      continue;
    }
    // Only what this program makes in it: files named by a number. A file
    // that another installation still holds stays, and so does the folder.
    for (const auto& entry : fs_.Search(path + "\\*", platform::SearchFilter::kEverything)) {
      const bool plain = (entry.attributes & (platform::kAttrDirectory | platform::kAttrReparsePoint)) == 0;
      if (plain && (IsTempFileName(entry.name) || IsWholeWriteTempName(entry.name))) {
        Discard(path + "\\" + entry.name);
      }
    }
    fs_.RemoveFolder(path);
  }
}

std::optional<platform::FileInfo> CopyRun::SourceBefore(const PlannedCopy& copy) {
  if (const auto source = survey_.Source(copy.source)) return source;
  return fs_.Info(copy.source);
}

void CopyRun::Discard(const std::string& path) {
  if (fs_.RemoveFile(path) == platform::kErrorAccessDenied &&
      fs_.SetAttributes(path, platform::kAttrArchive) == platform::kOk) {
    fs_.RemoveFile(path);
  }
}

platform::ErrorCode CopyRun::MakeWritable(const std::optional<platform::FileInfo>& source,
                                          const std::string& to) {
  if (!source) return platform::kErrorWriteFault;
  // Every file on a CD is read-only, and so is its copy; the installed one is
  // left writable, as xcopy leaves it, with the archive bit a copy gets.
  if ((source->attributes & kReadOnly) == 0) return platform::kOk;
  return fs_.SetAttributes(to, (source->attributes | platform::kAttrArchive) & ~kReadOnly);
}

void CopyRun::FlushNewFiles() {
  for (const Unflushed& file : unflushed_) {
    if (Stopping()) return;
    if (FlushWhole(file.path, file.size) != platform::kOk) {
      // Not there before the copy, so no site's file: a short one goes.
      Discard(file.path);
      result_.NotInstalled.push_back(file.path);
    }
    Count();
  }
}

platform::ErrorCode CopyRun::CheckWhole(const std::optional<platform::FileInfo>& source,
                                        const std::string& to) {
  if (const platform::ErrorCode error = MakeWritable(source, to)) return error;
  // The source is looked at before the copy: the disc may be gone after it.
  return FlushWhole(to, source->size);
}

platform::ErrorCode CopyRun::FlushWhole(const std::string& path, std::uint64_t size) {
  std::uint64_t written = 0;
  if (const platform::ErrorCode error = fs_.Flush(path, written)) return error;
  // Some systems report a copy done whose reading broke off part way.
  return written == size ? platform::kOk : platform::kErrorWriteFault;
}

bool CopyRun::NamedNoFile(const PlannedCopy& copy) {
  return platform::FolderExists(fs_, copy.source.substr(0, copy.source.size() - copy.name.size()));
}

bool CopyRun::LeftOut(const std::string& source, platform::ErrorCode error) {
  // A file the distribution does not hold is expected (a station typed by the
  // user, the "*" placeholder, a program this edition leaves out) and stays
  // silent, but only when the system says so: the file, or a folder on its
  // way, is not found, no file answers to the name, and the file's own folder
  // can still be read.
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
                        error == platform::kErrorPathNotFound;
  return notFound && !platform::FileExists(fs_, source) &&
         platform::FolderExists(fs_, platform::FolderPart(source));
}

InstallResult CopyRun::Run() {
  const std::string& target = plan_.Target;
  CleanLeftovers();
  ForceDir(fs_, target);
  result_.DestDir = target + "\\";
  for (const std::string& folder : GroupFolders()) ForceDir(fs_, result_.DestDir + folder);

  result_.YearSeq = std::to_string(plan_.Year).substr(2, 2) + "001";
  result_.DataDir = result_.DestDir + YearFolder(plan_.Year);
  ForceDir(fs_, result_.DataDir);
  // The system file names this folder whether or not it could be made (a file
  // of its name in the way, a full or write-protected drive); that file stays.
  if (!platform::FolderExists(fs_, result_.DataDir)) result_.NotInstalled.push_back(result_.DataDir);

  const std::vector<PlannedCopy> copies = plan_.Copies();
  // The groups that replace nothing, the samples, come last.
  const auto samples = std::find_if(copies.begin(), copies.end(),
                                    [](const PlannedCopy& copy) { return !copy.replaces; });
  std::for_each(copies.begin(), samples, [this](const PlannedCopy& copy) { Copy(copy); });
  if (!plan_.DataSubDir.empty() && AskedFor(plan_.DataSubDir)) {
    ForceDir(fs_, result_.DestDir + plan_.DataSubDir);
  }
  if (!Stopping()) samplesListed_ = ListSamples({samples, copies.end()});
  std::for_each(samples, copies.end(), [this](const PlannedCopy& copy) { Copy(copy); });
  FlushNewFiles();
  // Each sample is on the disk or deleted: none is left to look after. Once
  // the run was told to stop, the next one does.
  if (!samplesList_.empty() && !Stopping()) {
    fs_.RemoveFile(samplesList_);
  }
  // Empty once every copy has taken its name or been deleted. Whatever ends
  // the run before (the machine stopping), the next run deletes.
  if (!tempFolder_.empty()) fs_.RemoveFolder(tempFolder_.substr(0, tempFolder_.size() - 1));
  return std::move(result_);
}

}  // namespace

InstallResult CopyFiles(const InstallPlan& plan, platform::FileSystem& fs,
                        const TargetSurvey& survey, CopyProgress* progress) {
  return CopyRun(plan, fs, survey, progress).Run();
}

}  // namespace install
