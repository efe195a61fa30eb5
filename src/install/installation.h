// The installation: the target folder, the folders to make, the ordered
// copies from the source folder, and the desktop shortcuts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"

namespace install {

// Why an installation cannot be done; the window shows the text.
enum class Refusal { kNone, kNoDrive, kNoProgramFolder };
const char* RefusalText(Refusal refusal);

class Installation {
 public:
  // Called after every copy with the copies done and the copies planned.
  using Progress = std::function<void(std::size_t done, std::size_t total)>;

  Installation(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell)
      : state_(state), fs_(fs), shell_(shell) {}

  // The target folder: the chosen drive and the program folder text without
  // any drive prefix of its own and without its trailing "\".
  std::string TargetFolder() const;

  // Whether TargetFolder() can be installed into: there must be a drive, and
  // a program folder below its root.
  Refusal CheckTarget() const;

  // Creates a folder and its missing parents. Raises "Unable to create
  // directory" for an empty path; failing to create a folder is silent (the
  // copies into it then fail and are reported).
  void ForceDir(const std::string& path);

  // Makes the folders and copies every group of files in its fixed order,
  // replacing existing targets, read-only ones too; each copy is left
  // writable. Sets DestDir, DataDir and YearSeq. A copy that fails does not
  // stop the run: it is skipped silently when the source folder, still
  // readable, does not hold its file, and listed in NotInstalled() otherwise.
  // Names that would reach outside the source or target folder are never
  // copied.
  // Raises the refusal text when CheckTarget() refuses, before anything is
  // written.
  void RunInstall();

  // Puts a shortcut to DestDir + name + ".exe" on the user's desktop, with
  // the system name as its arguments when asked. Raises the system's text
  // when the shell's shortcut object cannot be had; a shortcut that cannot
  // be placed or saved is listed in NotInstalled().
  void MakeShortcut(const std::string& name, bool withArguments);

  // Target paths (or, without a desktop, shortcut names) of what could not
  // be installed, unless the distribution does not hold it.
  const std::vector<std::string>& NotInstalled() const { return notInstalled_; }

  void SetProgress(Progress progress) { progress_ = std::move(progress); }

 private:
  std::size_t PlannedCopies() const;
  // One copy of `name` from SrcDir + sourceFolder to DestDir + targetFolder.
  void Copy(const std::string& sourceFolder, const std::string& targetFolder,
            const std::string& name);
  // Whether a failed copy's source is simply not in the distribution: the
  // file is not there, and SrcDir can still be read.
  bool LeftOut(const std::string& source);

  setup::SetupState& state_;
  platform::FileSystem& fs_;
  platform::Shell& shell_;
  Progress progress_;
  std::size_t done_ = 0;
  std::size_t total_ = 0;
  std::vector<std::string> notInstalled_;
};

// Whether a file name from the distribution stays inside the folder it is
// joined to: not absolute, no drive or stream (":"), no ".." part. Names in
// subfolders ("sub\x.exe") are fine.
bool StaysInside(const std::string& name);

}  // namespace install
