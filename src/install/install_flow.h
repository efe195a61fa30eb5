// The install dialogue behind the window's install button (InStallClick):
// from the check for Install.dat to the final message, over the setup state,
// the file system, the shell and the boxes the user answers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "install/copy_run.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"

namespace install {

// What the install dialogue needs of the window it runs in: its boxes, each
// given the system's exact caption and text, the one step that a window runs
// its own way (the copies), and the holding-up of the session's end while the
// installation's files are written.
class DialogueHost {
 public:
  virtual ~DialogueHost() = default;

  // OK and Cancel, no icon; true for OK.
  virtual bool Confirm(const std::string& caption, const std::string& text) = 0;
  // Retry and Cancel, the warning icon; true for Retry.
  virtual bool Retry(const std::string& caption, const std::string& text) = 0;
  // OK only: no icon, the warning icon, the error icon.
  virtual void Inform(const std::string& caption, const std::string& text) = 0;
  virtual void Warn(const std::string& caption, const std::string& text) = 0;
  virtual void Error(const std::string& caption, const std::string& text) = 0;

  // Calls `copies` once and returns when it has returned, raising again what
  // it raised. The copies touch no setup state and count `progress` up, so a
  // window can run them on a thread of its own and show how far they are.
  virtual void RunCopies(const std::function<void()>& copies, CopyProgress& progress);

  // Called before the copies begin and after the system file is written (or
  // the writing failed): in between, files of the installation are being
  // written, and a window holds up the end of the session. A window that is
  // told the session ends anyway sets the progress's `stop`.
  virtual void WritingBegins() {}
  virtual void WritingEnds() {}
};

// The text that lists what could not be installed: at most 20 paths, each
// shortened by setup::ShortenedPath, then how many others.
std::string NotInstalledText(const std::vector<std::string>& paths);

// The text that names the files another program holds (at most 20, then how
// many others) and, where the system can tell, the programs that hold them.
std::string InUseText(const std::vector<std::string>& paths,
                      const std::vector<std::string>& programs);

// The text that asks to wait for another installation on this computer.
std::string OtherInstallationText();

// The text that tells that drive `drive` ("D:") has `free` bytes where the
// installation needs `needed`, both in megabytes with one decimal.
std::string RoomText(const std::string& drive, std::uint64_t needed, std::uint64_t free);

// The text of the refusal to install through a folder that is a link.
std::string LinkedFolderText(const std::string& folder);

// Runs the install dialogue. Returns true when the program is to end (after
// the message that Install.dat is missing, after the final message, or
// silently once the copies were stopped because the session ends: no system
// file is then written for the unfinished installation), false
// when the window stays (a refused target, a text the system file cannot
// hold (setup::SystemFileRefusal), Cancel at the first question or at the
// box of another installation running, of files in use or of a drive
// without room, a folder of the target that is a link).
// Raises the system's error when Install.dat cannot be read, the system file
// cannot be written (the files that could not be installed are listed after
// its first line) or the shell has no shortcut object; what was copied or
// written before stays.
bool InstallDialogue(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell,
                     DialogueHost& questions);

}  // namespace install
