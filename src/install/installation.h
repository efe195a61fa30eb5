// The installation into the target folder the setup state names: the check
// of that folder, the plan of the copies, the steps of the installation the
// user has confirmed, and the desktop shortcuts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "install/copy_run.h"
#include "install/plan.h"
#include "install/target_check.h"
#include "install/target_survey.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "setup/setup_state.h"

namespace install {

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

  // The plan of the copies as the state holds it now, in this year. Raises
  // the refusal text when CheckTarget() refuses.
  InstallPlan Plan() const;

  // The steps of an installation once the user has confirmed it, in this
  // order, with the caller's checks in between:
  // The look at the target before the copies of `plan`, the system file
  // among the files they may replace and in the room they need.
  TargetSurvey Survey(const InstallPlan& plan) const;
  // The copies of `plan` into the target `survey` looked at, counted by
  // `progress` (whose total this sets), and their result taken as Apply()
  // takes it. `run` calls the copies once and returns when they have
  // returned: a window runs them on a thread of its own. False when
  // `progress.stop` stopped them: then nothing is taken.
  using CopyRunner = std::function<void(const std::function<void()>& copies)>;
  bool Install(const InstallPlan& plan, const TargetSurvey& survey, CopyProgress& progress,
               const CopyRunner& run = nullptr);

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

}  // namespace install
