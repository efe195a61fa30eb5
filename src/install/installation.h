// The installation: the target folder, the folders to make, the ordered
// copies from the source folder, and the desktop shortcuts.
#pragma once

#include <atomic>
#include <map>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"

namespace install {

// Why an installation cannot be done; the window shows the text.
enum class Refusal {
  kNone,
  kNoDrive,
  kNoProgramFolder,
  kUnusableFolderName,  // a part Windows cannot use as a name (UsableNamePart)
  kPathTooLong,         // a folder over 247 or a known path over 259 characters
  kFolderIsFile,        // the target, or a folder on its way, is a file
};
const char* RefusalText(Refusal refusal);

// The groups of copies, in the order they are made.
enum class CopyGroup { kProgram, kStation, kRun, kInfoPage, kPicture, kBitmap, kSampleData };

// One copy of the plan: `name` joined to its source folder and to its
// target folder.
struct PlannedCopy {
  std::string name;
  std::string source;
  std::string target;
  CopyGroup group;
};

// What the copies of one installation are made from, taken from the setup
// state when the user confirms: nothing that changes afterwards alters what
// is copied.
struct InstallPlan {
  std::string SrcDir;  // ends in "\"
  std::string Target;  // the target folder, without trailing "\"
  std::vector<std::string> InstFiles;
  std::vector<std::string> Stations;
  std::vector<std::string> RunFiles;
  std::vector<std::string> HtmlNames;
  std::vector<std::string> PicFiles;
  std::string BmpName;
  std::string DataSubDir;  // as scanned, without "\"
  std::vector<std::string> DataFiles;
  int Year = 0;

  // Every copy, group by group, each group in its list's order; the sample
  // data come last.
  std::vector<PlannedCopy> Copies() const;
  std::size_t CopyCount() const;
  // The steps the copies count: each copy, and the writing of it to the disk.
  std::size_t CopySteps() const { return 2 * CopyCount(); }
};

// What the target holds before anything is written, as far as the
// installation depends on it.
struct TargetSurvey {
  // The first folder of the installation that is a link (a junction, a
  // symbolic link, a mount point): what is written there lands elsewhere.
  std::string linkedFolder;
  // Files to be replaced that another program holds.
  std::vector<std::string> inUse;
  // Upper-cased paths of what the listed folders hold, and the folders
  // listed (each with its trailing "\"): a path in a listed folder that is
  // not among the entries was not there.
  std::set<std::string> entries;
  std::set<std::string> listed;
  // What a run that was stopped left in the target folder: temporary
  // folders and files by the names only this program gives them (never a
  // link); and, upper-cased, the sample files it had set out to make, which
  // may be cut short or, after a power cut, zeros: they are no site's
  // measurements.
  std::vector<std::string> leftovers;
  std::set<std::string> unfinished;
  // The room on the target's volume, where it can be told, and what the
  // copies take of it at most: every file copied while the file it
  // replaces is still there, in whole clusters, and the system file.
  std::optional<platform::DiskSpace> space;
  std::uint64_t needed = 0;
  // Upper-cased paths of the files in the folders that the copies read,
  // with their attributes and sizes, from one listing of each folder.
  std::map<std::string, platform::FileInfo> sources;

  // Whether the listing found `path`; whether it shows `path` was not there.
  bool Found(const std::string& path) const;
  bool KnownAbsent(const std::string& path) const;
  // Whether a sample file at `path` is the site's own, to be left as it is.
  bool SitesOwn(const std::string& path) const;
  // What the listing of its folder told of the source file `path`.
  std::optional<platform::FileInfo> Source(const std::string& path) const;
};

// The names of the temporary files of an installation in its target: the
// folder "~setup<n>.tmp" of the copies, with files named by a number in it
// and the list of the sample files the run makes (kSamplesList), and
// "~wr<process>.<n>.tmp" beside a file written whole.
inline constexpr char kSamplesList[] = "samples.lst";
std::string TempFolderName(unsigned n);
bool IsTempFolderName(std::string_view name);
bool IsTempFileName(std::string_view name);
bool IsWholeWriteTempName(std::string_view name);

// Looks at the target folder and every folder of the plan in it that exists,
// and at every file there that the plan or `alsoWritten` (the system file)
// would replace, changing nothing. A file counts as in use when a program
// holds it so that it cannot be replaced, as the probe of its replacement
// shows (for a read-only file, which refuses that probe, the probe of a
// rename over it), or as the system tells without opening it; and when it
// would be replaced: its source exists, and it is no sample data.
// `reserve` is what the writing after the copies needs of the room.
TargetSurvey SurveyTarget(const InstallPlan& plan, platform::FileSystem& fs,
                          const std::vector<std::string>& alsoWritten,
                          std::uint64_t reserve = 0);

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

// Creates a folder and its missing parents. Raises "Unable to create
// directory" for an empty path; failing to create a folder is silent (the
// copies into it then fail and are reported).
void ForceDir(platform::FileSystem& fs, const std::string& path);

// Makes the folders and copies every group of the plan in its fixed order;
// each copy is left writable. A target that `survey` saw, or that turns out
// to exist, is replaced by a rename: the copy goes to a temporary folder in
// the target first, is checked to be whole, and only then takes the old
// file's place, read-only, hidden and system ones too; whatever fails, the
// old file stays as it was. Sample data never replace a file. A new file
// whose copy fails part way is deleted again.
// A copy that fails does not stop the run: it is skipped silently when the
// system reports its file (or a folder on the way) missing while the file's
// own source folder can still be read, and listed as not installed
// otherwise, as is a year folder that could not be made, a folder named as a
// file and a target longer than 259 characters. Names that would reach
// outside the source or target folder are never copied, and names Windows
// cannot use (UsableNamePart) never asked for: those count as files the
// distribution does not hold. Reads nothing but the plan and the file
// system, so that it can run on a thread of its own.
// Once `progress->stop` is set, no further copy is started.
InstallResult CopyFiles(const InstallPlan& plan, platform::FileSystem& fs,
                        const TargetSurvey& survey, CopyProgress* progress = nullptr);

class Installation {
 public:
  Installation(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell)
      : state_(state), fs_(fs), shell_(shell) {}

  // The target folder: the chosen drive and the program folder text without
  // any drive prefix of its own and without its trailing "\".
  std::string TargetFolder() const;

  // Whether TargetFolder() can be installed into: there must be a drive, and
  // a program folder below its root that passes FolderRefusal().
  Refusal CheckTarget() const;

  void ForceDir(const std::string& path) { install::ForceDir(fs_, path); }

  // The plan of the copies as the state holds it now, in this year. Raises
  // the refusal text when CheckTarget() refuses.
  InstallPlan Plan() const;

  // Sets DestDir, DataDir and YearSeq from the result and adds what it could
  // not install to NotInstalled().
  void Apply(InstallResult result);

  // Puts a shortcut to DestDir + name + ".exe" on the user's desktop, with
  // the system name as its arguments when asked. Raises the system's text
  // when the shell's shortcut object cannot be had; a shortcut that cannot
  // be placed or saved is listed in NotInstalled().
  void MakeShortcut(const std::string& name, bool withArguments);

  // Target paths (or, without a desktop, shortcut names) of what could not
  // be installed, unless the distribution does not hold it.
  const std::vector<std::string>& NotInstalled() const { return notInstalled_; }

 private:
  setup::SetupState& state_;
  platform::FileSystem& fs_;
  platform::Shell& shell_;
  std::vector<std::string> notInstalled_;
};

// Whether a file name from the distribution stays inside the folder it is
// joined to: not absolute, no drive or stream (":"), no ".." part. Names in
// subfolders ("sub\x.exe") are fine.
bool StaysInside(const std::string& name);

// Whether a name from the distribution is handed to Windows at all: it stays
// inside its folders and every part of it is a name Windows can use (AUX or
// COM1.cfg could open a serial port, even to read its attributes).
bool AskedFor(const std::string& name);

}  // namespace install
