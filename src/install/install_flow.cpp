#include "install/install_flow.h"

#include "install/installation.h"
#include "setup/box_text.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace install {

namespace {

constexpr std::size_t kListedNotInstalled = 20;
constexpr char kInstallCaption[] = "Installation af programmer";
constexpr char kDoneCaption[] = "Installation færdig";

}  // namespace

void DialogueHost::RunCopies(const std::function<void()>& copies, CopyProgress&) { copies(); }

namespace {

// WritingBegins() to WritingEnds(), however the writing ends.
class Writing {
 public:
  explicit Writing(DialogueHost& questions) : questions_(questions) { questions_.WritingBegins(); }
  ~Writing() { questions_.WritingEnds(); }
  Writing(const Writing&) = delete;
  Writing& operator=(const Writing&) = delete;

 private:
  DialogueHost& questions_;
};

// The lock every installation holds from the checks before its copies to
// its system file, let go however the dialogue ends.
class InstallationsLock {
 public:
  explicit InstallationsLock(platform::FileSystem& fs) : fs_(fs) {}
  ~InstallationsLock() { Release(); }
  InstallationsLock(const InstallationsLock&) = delete;
  InstallationsLock& operator=(const InstallationsLock&) = delete;

  bool Take() { return held_ = held_ || fs_.LockInstallations(); }
  void Release() {
    if (held_) fs_.UnlockInstallations();
    held_ = false;
  }

 private:
  platform::FileSystem& fs_;
  bool held_ = false;
};

// `header`, then at most 20 paths, then how many others.
std::string PathList(std::string header, const std::vector<std::string>& paths) {
  for (std::size_t i = 0; i < paths.size() && i < kListedNotInstalled; ++i) {
    header += "\n" + setup::ShortenedPath(paths[i]);
  }
  if (paths.size() > kListedNotInstalled) {
    header += "\nog " + std::to_string(paths.size() - kListedNotInstalled) + " andre";
  }
  return header;
}

}  // namespace

std::string NotInstalledText(const std::vector<std::string>& paths) {
  return PathList("Følgende filer kunne ikke installeres:", paths);
}

std::string InUseText(const std::vector<std::string>& paths,
                      const std::vector<std::string>& programs) {
  std::string text = PathList("Følgende filer er i brug af et andet program:", paths);
  for (std::size_t i = 0; i < programs.size(); ++i) {
    text += (i == 0 ? "\n\nDe bruges af: " : ", ") + programs[i];
  }
  return text + "\n\nLuk programmet, og vælg Prøv igen.";
}

std::string OtherInstallationText() {
  return "En anden installation af KAMBRIX programmer er i gang på denne computer.\n\n"
         "Vent, til den er færdig, og vælg Prøv igen.";
}

std::string RoomText(const std::string& drive, std::uint64_t needed, std::uint64_t free) {
  // In tenths of a megabyte (1,048,576 bytes, as Windows counts them), what
  // is needed rounded up and what is free rounded down, with a decimal comma.
  const auto megabytes = [](std::uint64_t bytes, bool up) {
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    const std::uint64_t tenths = (bytes * 10 + (up ? kMegabyte - 1 : 0)) / kMegabyte;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " MB";
  };
  return "Der er ikke plads nok på drev " + drive + " til installationen. Der skal bruges " +
         megabytes(needed, true) + ", og der er " + megabytes(free, false) +
         " ledig.\n\nGør plads, og vælg Prøv igen.";
}

std::string LinkedFolderText(const std::string& folder) {
  return "Der kan ikke installeres i denne mappe, fordi den henviser til en anden mappe:\n" +
         setup::ShortenedPath(folder) + "\n\nVælg en anden programmappe.";
}

namespace {

// Nothing is written before the target is known safe: no other
// installation is writing (`lock` is taken), no folder of it leads
// elsewhere, no file to be replaced is held by a running program, which is
// never closed from here (it may be collecting measurements), and the drive
// has room for it all, so that a full drive never leaves new files beside
// old ones. Looks again at each Retry; false at Cancel or a linked folder.
bool LookUntilSafe(const Installation& installation, const InstallPlan& plan,
                   platform::FileSystem& fs, DialogueHost& questions, InstallationsLock& lock,
                   TargetSurvey& survey) {
  for (;;) {
    if (!lock.Take()) {
      if (!questions.Retry(kInstallCaption, OtherInstallationText())) return false;
      continue;
    }
    survey = installation.Survey(plan);
    if (!survey.linkedFolder.empty()) {
      questions.Warn(kInstallCaption, LinkedFolderText(survey.linkedFolder));
      return false;
    }
    if (!survey.inUse.empty()) {
      const std::string text = InUseText(survey.inUse, fs.ProgramsHolding(survey.inUse));
      if (!questions.Retry(kInstallCaption, text)) return false;
      continue;
    }
    if (survey.space && survey.space->free < survey.needed) {
      const std::string text = RoomText(plan.Target.substr(0, 2), survey.needed, survey.space->free);
      if (!questions.Retry(kInstallCaption, text)) return false;
      continue;
    }
    return true;
  }
}

}  // namespace

bool InstallDialogue(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell,
                     DialogueHost& questions) {
  if (!platform::FileExists(fs, state.SrcDir + "Install.dat")) {
    questions.Error("Filen install.dat mangler", "Der mangler installationsoplysninger");
    return true;
  }
  Installation installation(state, fs, shell);
  if (const Refusal refusal = installation.CheckTarget(); refusal != Refusal::kNone) {
    questions.Warn(kInstallCaption, RefusalText(refusal));
    return false;
  }
  if (const std::string refusal = setup::SystemFileRefusal(state); !refusal.empty()) {
    questions.Warn(kInstallCaption, refusal);
    return false;
  }
  if (!questions.Confirm(kInstallCaption,
                         "Instalation foretages til : " + installation.TargetFolder())) {
    return false;
  }
  state.InstFiles = setup::LoadTextFile(fs, state.SrcDir + "Install.dat");

  const InstallPlan plan = installation.Plan();
  InstallationsLock lock(fs);
  TargetSurvey survey;
  if (!LookUntilSafe(installation, plan, fs, questions, lock, survey)) return false;
  {
    Writing writing(questions);
    CopyProgress progress;
    const auto run = [&](const std::function<void()>& copies) {
      questions.RunCopies(copies, progress);
    };
    // Stopped because the session ends: no system file is written.
    if (!installation.Install(plan, survey, progress, run)) return true;
    try {
      setup::SystemSetup(state, fs).WriteSystemFile();
    } catch (const setup::SetupError& error) {
      // The error's box also tells what else is missing.
      if (installation.NotInstalled().empty()) throw;
      throw setup::SetupError(std::string(error.what()) + "\n\n" +
                              NotInstalledText(installation.NotInstalled()));
    }
  }
  lock.Release();
  if (questions.Confirm("Genveje til KAMBRIX programmer",
                        "Læg genveje på skrivebordet til KAMBRIX programmer")) {
    installation.MakeShortcut("delviq", false);
    if (state.FullMode) installation.MakeShortcut("sarnok", true);
  }
  if (installation.NotInstalled().empty()) {
    questions.Inform(kDoneCaption, "Filer er blevet installeret");
  } else {
    questions.Warn(kDoneCaption, NotInstalledText(installation.NotInstalled()));
  }
  return true;
}

}  // namespace install
