// The install dialogue over the in-memory file system and shell, with the
// boxes answered from a script.
#include "install/install_flow.h"

#include <gmock/gmock.h>

#include <deque>
#include <functional>

#include "platform/memory_file_system.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "support/sample_source.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;

constexpr char kQ1[] = "confirm Installation af programmer: Instalation foretages til : ";
constexpr char kQ2[] =
    "confirm Genveje til KAMBRIX programmer: Læg genveje på skrivebordet til KAMBRIX programmer";
constexpr char kDone[] = "inform Installation færdig: Filer er blevet installeret";

struct ScriptedQuestions : install::Questions {
  std::vector<std::string> shown;  // "<kind> <caption>: <text>"
  std::deque<bool> answers;        // OK is true
  std::function<void()> beforeCopies;

  bool Confirm(const std::string& caption, const std::string& text) override {
    shown.push_back("confirm " + caption + ": " + text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Inform(const std::string& caption, const std::string& text) override {
    shown.push_back("inform " + caption + ": " + text);
  }
  void Warn(const std::string& caption, const std::string& text) override {
    shown.push_back("warn " + caption + ": " + text);
  }
  void Error(const std::string& caption, const std::string& text) override {
    shown.push_back("error " + caption + ": " + text);
  }
  void RunCopies(const std::function<void()>& copies, const install::CopyProgress& progress) override {
    if (beforeCopies) beforeCopies();
    install::Questions::RunCopies(copies, progress);
    EXPECT_EQ(progress.total, progress.done.load());
  }
};

class Dialogue : public ::testing::Test {
 protected:
  Dialogue() {
    fs_.AddDrive('C');
    test_support::LoadHostFolder(fs_, test_support::SampleDir(), "E:\\cd");
    fs_.SetCurrentDirectory("E:\\cd");
    setup::SystemSetup(state_, fs_).ScanSource();
  }

  bool Run(std::initializer_list<bool> answers) {
    questions_.answers = answers;
    return install::InstallDialogue(state_, fs_, shell_, questions_);
  }

  // The error that the dialogue raises with these answers.
  std::string Failure(std::initializer_list<bool> answers) {
    try {
      Run(answers);
    } catch (const setup::SetupError& error) {
      return error.what();
    }
    return "no error";
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  setup::SetupState state_;
  ScriptedQuestions questions_;
};

TEST_F(Dialogue, WithoutInstallListTheProgramEndsAndNothingIsWritten) {
  fs_.Remove("E:\\cd\\Install.dat");
  fs_.ClearJournal();
  EXPECT_TRUE(Run({}));
  EXPECT_THAT(questions_.shown,
              ElementsAre("error Filen install.dat mangler: Der mangler installationsoplysninger"));
  EXPECT_THAT(fs_.Journal(), IsEmpty());
}

TEST_F(Dialogue, RefusalsAndCancelAtTheFirstQuestionChangeNothingAndCanBeRepeated) {
  const std::tuple<const char*, std::vector<std::string>, std::string> cases[] = {
      {"KAMBRIX", {}, "warn Installation af programmer: Der er ikke fundet noget drev at installere på"},
      {"D:\\", {"C"}, "warn Installation af programmer: Der er ikke angivet nogen programmappe"},
      {"C:\\Vest\\", {"C"}, kQ1 + std::string("C:\\Vest")},
  };
  fs_.ClearJournal();
  for (const auto& [folder, drives, box] : cases) {
    state_.PrBib = folder;
    state_.DrBox.items = drives;
    state_.DrBox.selected = drives.empty() ? -1 : 0;
    questions_.shown.clear();
    EXPECT_FALSE(Run({false}));
    EXPECT_FALSE(Run({false}));
    EXPECT_THAT(questions_.shown, ElementsAre(box, box));
  }
  EXPECT_THAT(fs_.Journal(), IsEmpty());
  EXPECT_TRUE(state_.InstFiles.Empty());
}

TEST_F(Dialogue, InstallWithoutShortcutsEndsWithTheCompletionMessage) {
  EXPECT_TRUE(Run({true, false}));
  EXPECT_THAT(questions_.shown, ElementsAre(kQ1 + std::string("C:\\KAMBRIX"), kQ2, kDone));
  EXPECT_THAT(shell_.saved, IsEmpty());
  EXPECT_EQ("C:\\KAMBRIX\\DATA2005\\", fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib")->substr(0, 20));
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\DATA2004\\0403.dat"));
  EXPECT_EQ("C:\\KAMBRIX\\", state_.DestDir);
  EXPECT_EQ("05001", state_.YearSeq);
}

TEST_F(Dialogue, ShortcutsForBothProgramsInFullModeAndOnlyTheGraphProgramInReducedMode) {
  EXPECT_TRUE(Run({true, true}));
  ASSERT_EQ(2u, shell_.saved.size());
  EXPECT_EQ("C:\\KAMBRIX\\delviq.exe", shell_.saved[0].target);
  EXPECT_FALSE(shell_.saved[0].arguments);
  EXPECT_EQ("C:\\KAMBRIX\\sarnok.exe", shell_.saved[1].target);
  EXPECT_EQ("Vestmark", shell_.saved[1].arguments);
  EXPECT_EQ(kDone, questions_.shown.back());

  state_.FullMode = false;
  shell_.saved.clear();
  EXPECT_TRUE(Run({true, true}));
  ASSERT_EQ(1u, shell_.saved.size());
  EXPECT_EQ("C:\\KAMBRIX\\delviq.exe", shell_.saved[0].target);
}

TEST_F(Dialogue, ErrorsAfterTheCopiesEndTheDialogueAndASecondTryInstallsTheSame) {
  state_.SysNavn = "Vest|mark";
  EXPECT_EQ("Cannot create file C:\\KAMBRIX\\Vest|mark.bib", Failure({true}));
  EXPECT_THAT(questions_.shown, ElementsAre(kQ1 + std::string("C:\\KAMBRIX")));

  state_.SysNavn = "Vestmark";
  shell_.failWith = platform::ShortcutResult::Failure::kCreateObject;
  EXPECT_EQ("Unspecified error", Failure({true, true}));
  EXPECT_EQ(kQ2, questions_.shown.back());
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib"));

  // The data folder keeps its name from one click to the next.
  fs_.ClearJournal();
  shell_.failWith = platform::ShortcutResult::Failure::kNone;
  EXPECT_TRUE(Run({true, false}));
  EXPECT_EQ("DATA2004", state_.DataSubDir);
  EXPECT_THAT(fs_.Journal(), testing::Contains(
      "copy E:\\cd\\DATA2004\\0401.dat -> C:\\KAMBRIX\\DATA2004\\0401.dat"));
  EXPECT_EQ(kDone, questions_.shown.back());
}

TEST_F(Dialogue, FailedCopiesAndShortcutsAreListedInsteadOfSuccess) {
  fs_.AddFile("C:\\KAMBRIX\\delviq.exe", "running");
  fs_.LockFile("C:\\KAMBRIX\\delviq.exe");
  shell_.failWith = platform::ShortcutResult::Failure::kSave;
  EXPECT_TRUE(Run({true, true}));
  EXPECT_EQ("warn Installation færdig: Følgende filer kunne ikke installeres:\n"
            "C:\\KAMBRIX\\delviq.exe\nC:\\Users\\test\\Desktop\\delviq.lnk\n"
            "C:\\Users\\test\\Desktop\\sarnok.lnk",
            questions_.shown.back());

  // Past 20 paths the rest are counted.
  std::string lines;
  for (int i = 0; i < 23; ++i) {
    fs_.AddFile("E:\\cd\\prog\\sub\\f" + std::to_string(i), "x");
    lines += "sub\\f" + std::to_string(i) + "\r\n";
  }
  fs_.AddFile("E:\\cd\\Install.dat", lines);
  EXPECT_TRUE(Run({true, false}));
  EXPECT_THAT(questions_.shown.back(),
              StartsWith("warn Installation færdig: Følgende filer kunne ikke installeres:\n"
                         "C:\\KAMBRIX\\sub\\f0\n"));
  EXPECT_THAT(questions_.shown.back(), EndsWith("\nC:\\KAMBRIX\\sub\\f19\nog 3 andre"));
}

TEST_F(Dialogue, TheCopiesFollowThePlanConfirmedWhateverTheStateDoesMeanwhile) {
  questions_.beforeCopies = [this] {
    state_.InstFiles.Clear();
    state_.MSnavn.Clear();
    state_.DataSubDir.clear();
    state_.PrBib = "Andet";
  };
  EXPECT_TRUE(Run({true, false}));
  for (const char* file : {"delviq.exe", "ABC.cfg", "DATA2004\\0401.dat"}) {
    EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\" + std::string(file))) << file;
  }
  EXPECT_FALSE(fs_.IsFolder("C:\\Andet"));
}

}  // namespace
