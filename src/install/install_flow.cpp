#include "install/install_flow.h"

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

}  // namespace

std::string NotInstalledText(const std::vector<std::string>& paths) {
  std::string text = "Følgende filer kunne ikke installeres:";
  for (std::size_t i = 0; i < paths.size() && i < kListedNotInstalled; ++i) text += "\n" + paths[i];
  if (paths.size() > kListedNotInstalled) {
    text += "\nog " + std::to_string(paths.size() - kListedNotInstalled) + " andre";
  }
  return text;
}

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
  if (!questions.Confirm(kInstallCaption,
                         "Instalation foretages til : " + installation.TargetFolder())) {
    return false;
  }
  state.InstFiles = setup::LoadTextFile(fs, state.SrcDir + "Install.dat");

  const InstallPlan plan = installation.Plan();
  {
    Writing writing(questions);
    CopyProgress progress;
    progress.total = plan.CopyCount();
    InstallResult result;
    questions.RunCopies([&] { result = CopyFiles(plan, fs, &progress); }, progress);
    // The session ends: a system file would tell of an installation that is
    // not there.
    if (progress.stop) return true;
    installation.Apply(std::move(result));
    setup::SystemSetup(state, fs).WriteSystemFile();
  }
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
