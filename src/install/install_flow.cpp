#include "install/install_flow.h"

#include <algorithm>

#include "platform/unicode.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace install {

namespace {

constexpr std::size_t kListedNotInstalled = 20;
constexpr std::size_t kShownPathLength = 90;
constexpr char kEllipsis[] = "\xE2\x80\xA6";
constexpr char kInstallCaption[] = "Installation af programmer";
constexpr char kDoneCaption[] = "Installation færdig";

}  // namespace

void Questions::RunCopies(const std::function<void()>& copies, CopyProgress&) { copies(); }

namespace {

// WritingBegins() to WritingEnds(), however the writing ends.
class Writing {
 public:
  explicit Writing(Questions& questions) : questions_(questions) { questions_.WritingBegins(); }
  ~Writing() { questions_.WritingEnds(); }
  Writing(const Writing&) = delete;
  Writing& operator=(const Writing&) = delete;

 private:
  Questions& questions_;
};

// Where the first path of a line starts: a letter, ":" and "\"; the line's
// length when it holds none.
std::size_t DriveAt(std::string_view line) {
  for (std::size_t colon = line.find(":\\", 1); colon != std::string_view::npos;
       colon = line.find(":\\", colon + 1)) {
    const char letter = static_cast<char>(line[colon - 1] | 0x20);
    if (letter >= 'a' && letter <= 'z') return colon - 1;
  }
  return line.size();
}

}  // namespace

std::string ShortenedPath(std::string_view path) {
  if (platform::CodePointCount(path) <= kShownPathLength) return std::string(path);
  std::string shown(path);
  const std::size_t headEnd = path.find('\\', path.find('\\') + 1);
  const std::size_t tailStart = path.rfind('\\', path.rfind('\\') - 1);
  if (headEnd != std::string_view::npos && tailStart != std::string_view::npos &&
      headEnd < tailStart) {
    shown = std::string(path.substr(0, headEnd)) + "\\" + kEllipsis;
    shown += path.substr(tailStart);
  }
  const std::size_t length = platform::CodePointCount(shown);
  if (length <= kShownPathLength) return shown;
  const std::size_t kept = kShownPathLength - 1;
  return platform::SubstrChars(shown, 0, kept / 2) + kEllipsis +
         platform::SubstrChars(shown, length - (kept - kept / 2));
}

std::string ShortenedPaths(std::string_view text) {
  std::string shown;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    const std::size_t path = DriveAt(line);
    shown += line.substr(0, path);
    if (path < line.size()) shown += ShortenedPath(line.substr(path));
    if (end < text.size()) shown += '\n';
    start = end + 1;
  }
  return shown;
}

std::string NotInstalledText(const std::vector<std::string>& paths) {
  std::string text = "Følgende filer kunne ikke installeres:";
  for (std::size_t i = 0; i < paths.size() && i < kListedNotInstalled; ++i) {
    text += "\n" + ShortenedPath(paths[i]);
  }
  if (paths.size() > kListedNotInstalled) {
    text += "\nog " + std::to_string(paths.size() - kListedNotInstalled) + " andre";
  }
  return text;
}

bool InstallDialogue(setup::SetupState& state, platform::FileSystem& fs, platform::Shell& shell,
                     Questions& questions) {
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
