// The install dialogue behind the window's install button (InStallClick):
// from the check for Install.dat to the final message, over the setup state,
// the file system, the shell and the boxes the user answers.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "install/installation.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"

namespace install {

// The boxes of the install dialogue, each given the system's exact caption
// and text, and the one step that a window runs its own way: the copies.
class Questions {
 public:
  virtual ~Questions() = default;

  // OK and Cancel, no icon; true for OK.
  virtual bool Confirm(const std::string& caption, const std::string& text) = 0;
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
// shortened by ShortenedPath, then how many others.
std::string NotInstalledText(const std::vector<std::string>& paths);

// A path as a box shows it, so that the box fits on a 1024 x 768 screen: one
// of more than 90 characters loses its middle to "…", keeping the drive, the
// first folder and the last two parts ("C:\KAMBRIX\…\pic\x.png"); when
// those alone are too long, what is left keeps its first 44 and last 45
// characters.
std::string ShortenedPath(std::string_view path);

// A text whose lines may end in a path ("Cannot create file C:\..."), from
// the drive letter on: each such path shortened.
std::string ShortenedPaths(std::string_view text);

// Runs the install dialogue. Returns true when the program is to end (after
// the message that Install.dat is missing, after the final message, or
// silently once the copies were stopped because the session ends: no system
// file is then written for the unfinished installation), false
// when the window stays (a refused target, Cancel at the first question).
// Raises the system's error when Install.dat cannot be read, the system file
// cannot be written or the shell has no shortcut object; what was copied or
// written before stays.
bool InstallDialogue(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell,
                     Questions& questions);

}  // namespace install
