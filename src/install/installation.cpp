#include "install/installation.h"

#include "setup/names.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"

namespace install {

using setup::SetupError;

namespace {

// What the system file takes of the drive at most: its fixed lines, the
// carried line and the stations, in Windows-1252 (no more bytes than UTF-8).
std::uint64_t SystemFileRoom(const setup::SetupState& state) {
  std::uint64_t bytes = 1024 + state.CarriedLine.size();
  for (const std::string& station : state.MSnavn.items) bytes += station.size() + 2;
  return bytes;
}

}  // namespace

std::string Installation::TargetFolder() const {
  return state_.DrBox.Selected() + ":\\" + setup::WithoutDrivePrefix(state_.PrBib);
}

Refusal Installation::CheckTarget() const {
  if (state_.DrBox.Selected().empty()) return Refusal::kNoDrive;
  const std::string folder = setup::WithoutDrivePrefix(state_.PrBib);
  // Only separators, dots and spaces would name the drive root itself, and a
  // ".." part can lead back to it ("KAMBRIX\..").
  if (folder.find_first_not_of("\\/. ") == std::string::npos || setup::HasParentPart(folder)) {
    return Refusal::kNoProgramFolder;
  }
  return FolderRefusal(state_, fs_, folder, TargetFolder());
}

InstallPlan Installation::Plan() const {
  if (const Refusal refusal = CheckTarget(); refusal != Refusal::kNone) {
    throw SetupError(RefusalText(refusal));
  }
  return InstallPlan::Of(state_, TargetFolder(), fs_.LocalYear());
}

TargetSurvey Installation::Survey(const InstallPlan& plan) const {
  return SurveyTarget(plan, fs_, {plan.Target + "\\" + setup::SystemFileName(state_)},
                      SystemFileRoom(state_));
}

bool Installation::Install(const InstallPlan& plan, const TargetSurvey& survey,
                           CopyProgress& progress, const CopyRunner& run) {
  progress.total = plan.CopySteps();
  InstallResult result;
  const std::function<void()> copies = [&] { result = CopyFiles(plan, fs_, survey, &progress); };
  run ? run(copies) : copies();
  // The session ends: a system file would tell of an installation that is
  // not there.
  if (progress.stop) return false;
  Apply(std::move(result));
  return true;
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
