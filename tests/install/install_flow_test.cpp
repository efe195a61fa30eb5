// The install dialogue over the in-memory file system and shell, with the
// boxes answered from a script.
#include "install/install_flow.h"

#include <gmock/gmock.h>

#include <functional>

#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "setup/box_text.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "support/sample_source.h"
#include "support/scripted_questions.h"

namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr char kQ1[] = "confirm Installation af programmer: Instalation foretages til : ";
constexpr char kQ2[] =
    "confirm Genveje til KAMBRIX programmer: Læg genveje på skrivebordet til KAMBRIX programmer";
constexpr char kDone[] = "inform Installation færdig: Filer er blevet installeret";

class Dialogue : public ::testing::Test {
 protected:
  Dialogue() {
    fs_.AddDrive('C');
    test_support::LoadHostFolder(fs_, test_support::SampleDir(), "E:\\cd");
    fs_.SetCurrentDirectory("E:\\cd");
    setup::SystemSetup(state_, fs_).ScanSource();
  }

  // Every question had its answer; the copies ran while the writing was
  // told, and counted every step.
  void TearDown() override {
    EXPECT_THAT(questions_.unanswered, IsEmpty());
    EXPECT_THAT(questions_.faults, IsEmpty());
  }

  bool Run(std::initializer_list<bool> answers) {
    questions_.answers = answers;
    return install::InstallDialogue(state_, fs_, shell_, questions_);
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  setup::SetupState state_;
  test_support::ScriptedQuestions questions_;
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
      {"KAMBRIX", {},
       "warn Installation af programmer: Der er ikke fundet noget drev at installere på"},
      {"D:\\", {"C"}, "warn Installation af programmer: Der er ikke angivet nogen programmappe"},
      {"Ж:\\Łódź\\KAMBRIX", {"C"}, "warn Installation af programmer: Programmappen kan ikke skrives i "
                               "systemfilen: tegnet \"Ł\" kan ikke bruges."},
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

// Files that a running program holds are named, with the program, before
// anything is written; Cancel leaves all as it was, Retry looks again. A
// folder of the target that leads elsewhere refuses the installation.
TEST_F(Dialogue, FilesInUseAndLinkedFoldersStopTheInstallationBeforeAnyChange) {
  fs_.AddFile("C:\\KAMBRIX\\sarnok.exe", "running");
  fs_.AddFile("C:\\KAMBRIX\\Vestmark.bib", "old");
  fs_.AddFile("C:\\KAMBRIX\\gone.exe", "not on the disc");
  fs_.AddFile("C:\\KAMBRIX\\MSinfo\\pic\\ŁÓDŹ.PNG", "the CD's łódź.png, as Windows compares");
  fs_.AddFile("E:\\cd\\config\\MSinfo\\pic\\łódź.png", "new");
  state_.PicFiles.Add("łódź.png");
  fs_.AddFile("C:\\KAMBRIX\\DATA2004\\0401.dat", "measured here: never replaced");
  for (const char* held : {"sarnok.exe", "Vestmark.bib", "gone.exe", "MSinfo\\pic\\ŁÓDŹ.PNG",
                           "DATA2004\\0401.dat"}) {
    fs_.LockFile("C:\\KAMBRIX\\" + std::string(held), "KAMBRIX opsamling");
  }
  fs_.AddFile("E:\\cd\\Install.dat", "sarnok.exe\r\ngone.exe\r\n");
  const std::string inUse =
      "retry Installation af programmer: Følgende filer er i brug af et andet program:\n"
      "C:\\KAMBRIX\\sarnok.exe\nC:\\KAMBRIX\\MSinfo\\pic\\łódź.png\nC:\\KAMBRIX\\Vestmark.bib\n\n"
      "De bruges af: KAMBRIX opsamling\n\nLuk programmet, og vælg Prøv igen.";
  const std::string q1 = kQ1 + std::string("C:\\KAMBRIX");
  fs_.ClearJournal();
  EXPECT_FALSE(Run({true, true, false}));
  EXPECT_THAT(questions_.shown, ElementsAre(q1, inUse, inUse));
  EXPECT_THAT(fs_.Journal(), IsEmpty());

  questions_.shown.clear();
  questions_.atRetry = [this] {
    fs_.Unlock("C:\\KAMBRIX\\sarnok.exe");
    fs_.Unlock("C:\\KAMBRIX\\Vestmark.bib");
    fs_.Unlock("C:\\KAMBRIX\\MSinfo\\pic\\łódź.png");
  };
  EXPECT_TRUE(Run({true, true, false}));
  EXPECT_THAT(questions_.shown, ElementsAre(q1, inUse, kQ2, kDone));
  EXPECT_EQ(fs_.FileContent("E:\\cd\\prog\\sarnok.exe"), fs_.FileContent("C:\\KAMBRIX\\sarnok.exe"));

  fs_.AddLink("C:\\KAMBRIX\\MSinfo\\pic", "C:\\Windows", true);
  questions_.shown.clear();
  fs_.ClearJournal();
  EXPECT_FALSE(Run({true}));
  EXPECT_THAT(questions_.shown,
              ElementsAre(q1, "warn Installation af programmer: Der kan ikke installeres i denne "
                              "mappe, fordi den henviser til en anden mappe:\n"
                              "C:\\KAMBRIX\\MSinfo\\pic\n\nVælg en anden programmappe."));
  EXPECT_THAT(fs_.Journal(), IsEmpty());
}

// Another installation running, a read-only program that a running program
// holds (told by the Restart Manager, or without it by a probe of the
// rename), a drive without room for the new files beside the old: each asks
// Retry or Cancel before anything is written; Cancel changes nothing.
TEST_F(Dialogue, WhatWouldLeaveAMixedInstallationIsAskedAboutBeforeAnyChange) {
  using Scene = std::function<void(platform::MemoryFileSystem&)>;
  const auto held = [](bool restartManager) {
    return [restartManager](platform::MemoryFileSystem& fs) {
      fs.AddFile("C:\\KAMBRIX\\sarnok.exe", "running", platform::kAttrReadOnly);
      fs.LockFile("C:\\KAMBRIX\\sarnok.exe");
      fs.SetRestartManager(restartManager);
    };
  };
  const std::string inUse = "Følgende filer er i brug af et andet program:\nC:\\KAMBRIX\\sarnok.exe";
  const std::pair<Scene, std::string> cases[] = {
      {[](auto& fs) { fs.SetOtherInstallation(true); }, install::OtherInstallationText()},
      {held(true), inUse},
      {held(false), inUse},
      {[](auto& fs) { fs.SetDriveCapacity('C', 2000); },
       "Der er ikke plads nok på drev C: til installationen. Der skal bruges "},
  };
  for (const auto& [scene, box] : cases) {
    platform::MemoryFileSystem fs;
    fs.AddDrive('C');
    test_support::LoadHostFolder(fs, test_support::SampleDir(), "E:\\cd");
    fs.SetCurrentDirectory("E:\\cd");
    scene(fs);
    const auto before = fs.Tree("C:\\");
    fs.ClearJournal();
    questions_.shown.clear();
    questions_.answers = {true, true, false};
    EXPECT_FALSE(install::InstallDialogue(state_, fs, shell_, questions_));
    ASSERT_EQ(3u, questions_.shown.size());
    EXPECT_THAT(questions_.shown[1], StartsWith("retry Installation af programmer: " + box));
    EXPECT_EQ(questions_.shown[1], questions_.shown[2]) << "Retry looks again";
    EXPECT_THAT(fs.Journal(), IsEmpty());
    EXPECT_EQ(before, fs.Tree("C:\\"));
  }
}

TEST(RoomText, MegabytesWithOneDecimalNeededRoundedUpFreeDown) {
  EXPECT_EQ("Der er ikke plads nok på drev D: til installationen. Der skal bruges 1,2 MB, og der "
            "er 0,3 MB ledig.\n\nGør plads, og vælg Prøv igen.",
            install::RoomText("D:", 1200000, 314573));
  EXPECT_THAT(install::RoomText("C:", 1048577, 1048575), testing::HasSubstr("1,1 MB, og der er 0,9 MB"));
  EXPECT_THAT(install::RoomText("C:", 1048576, 0), testing::HasSubstr("1,0 MB, og der er 0,0 MB"));
}

TEST_F(Dialogue, InstallEndsWithTheCompletionMessageAndTheShortcutsAsAnswered) {
  const std::tuple<bool, bool, std::vector<std::string>> cases[] = {
      {false, true, {}},
      {true, true, {"C:\\KAMBRIX\\delviq.exe", "C:\\KAMBRIX\\sarnok.exe Vestmark"}},
      {true, false, {"C:\\KAMBRIX\\delviq.exe"}},  // reduced mode
  };
  for (const auto& [answer, fullMode, shortcuts] : cases) {
    state_.FullMode = fullMode;
    shell_.saved.clear();
    questions_.shown.clear();
    EXPECT_TRUE(Run({true, answer}));
    EXPECT_THAT(questions_.shown, ElementsAre(kQ1 + std::string("C:\\KAMBRIX"), kQ2, kDone));
    std::vector<std::string> made;
    for (const auto& link : shell_.saved) {
      made.push_back(link.target + (link.arguments ? " " + *link.arguments : ""));
    }
    EXPECT_EQ(shortcuts, made);
  }
  EXPECT_EQ("C:\\KAMBRIX\\DATA2005\\", fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib")->substr(0, 20));
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\DATA2004\\0403.dat"));
  EXPECT_EQ("05001", state_.YearSeq);
}

TEST_F(Dialogue, ErrorsAfterTheCopiesEndTheDialogueAndASecondTryInstallsTheSame) {
  state_.SysNavn = "Vest|mark";
  EXPECT_THAT([this] { Run({true}); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot create file C:\\KAMBRIX\\Vest|mark.bib")));
  EXPECT_THAT(questions_.shown, ElementsAre(kQ1 + std::string("C:\\KAMBRIX")));
  // The files that failed are told in the error's box.
  fs_.AddFolder("C:\\KAMBRIX\\delviq.exe");
  EXPECT_THAT([this] { Run({true}); },
              ThrowsMessage<setup::SetupError>(StrEq("Cannot create file C:\\KAMBRIX\\Vest|mark.bib\n\n"
                                                     "Følgende filer kunne ikke installeres:\n"
                                                     "C:\\KAMBRIX\\delviq.exe")));
  fs_.Remove("C:\\KAMBRIX\\delviq.exe");

  state_.SysNavn = "Vestmark";
  shell_.failWith = platform::ShortcutResult::Failure::kCreateObject;
  EXPECT_THAT([this] { Run({true, true}); },
              ThrowsMessage<setup::SetupError>(StrEq("Unspecified error")));
  EXPECT_EQ(kQ2, questions_.shown.back());
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib"));

  // The data folder keeps its name from one click to the next.
  fs_.Remove("C:\\KAMBRIX\\DATA2004\\0401.dat");
  fs_.ClearJournal();
  shell_.failWith = platform::ShortcutResult::Failure::kNone;
  EXPECT_TRUE(Run({true, false}));
  EXPECT_EQ("DATA2004", state_.DataSubDir);
  EXPECT_THAT(fs_.Journal(), testing::Contains(testing::EndsWith(
      " -> C:\\KAMBRIX\\DATA2004\\0401.dat")));
  EXPECT_EQ(kDone, questions_.shown.back());
}

// The session may not end while the copies or the system file are written;
// ended anyway, the installation leaves no system file and asks nothing more.
TEST_F(Dialogue, WritingIsToldAndAnEndedSessionWritesNoSystemFile) {
  const std::tuple<const char*, bool, bool> cases[] = {
      // system name, the session ends, the installation completes
      {"Vest|mark", false, false},  // the system file cannot be written
      {"Vestmark", true, false},
      {"Vestmark", false, true},
  };
  questions_.atEnd = [this] {
    return fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib") ? " after the system file" : "";
  };
  for (const auto& [name, sessionEnds, completes] : cases) {
    fs_.Remove("C:\\KAMBRIX");
    state_.SysNavn = name;
    questions_.shown.clear();
    questions_.writing.clear();
    questions_.sessionEnds = sessionEnds;
    if (completes || sessionEnds) {
      EXPECT_TRUE(Run({true, false}));
    } else {
      EXPECT_THAT([this] { Run({true, false}); },
                  ThrowsMessage<setup::SetupError>(StrEq("Cannot create file C:\\KAMBRIX\\Vest|mark.bib")));
    }
    EXPECT_THAT(questions_.writing,
                ElementsAre("begins", completes ? "ends after the system file" : "ends"))
        << name;
    EXPECT_EQ(completes ? 3u : 1u, questions_.shown.size()) << name;
    EXPECT_EQ(completes, fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib").has_value()) << name;
  }
}

TEST_F(Dialogue, FailedCopiesAndShortcutsAreListedInsteadOfSuccess) {
  fs_.AddFolder("C:\\KAMBRIX\\delviq.exe");
  fs_.AddFile("E:\\cd\\prog\\kbxfelt.dll", std::string(100000, 'k'));
  // Another program fills the drive once the copies begin.
  questions_.atBegin = [this] { fs_.SetDriveCapacity('C', 50000); };
  shell_.failWith = platform::ShortcutResult::Failure::kSave;
  EXPECT_TRUE(Run({true, true}));
  EXPECT_EQ("warn Installation færdig: Følgende filer kunne ikke installeres:\n"
            "C:\\KAMBRIX\\delviq.exe\nC:\\KAMBRIX\\kbxfelt.dll\n"
            "C:\\Users\\test\\Desktop\\delviq.lnk\nC:\\Users\\test\\Desktop\\sarnok.lnk",
            questions_.shown.back());
  EXPECT_FALSE(fs_.FileContent("C:\\KAMBRIX\\kbxfelt.dll"));  // new, and not left short

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

TEST(NotInstalledText, TwentyPathsAreAllListedWithoutACount) {
  std::vector<std::string> paths;
  std::string expected = "Følgende filer kunne ikke installeres:";
  for (int i = 0; i < 20; ++i) {
    paths.push_back("C:\\KAMBRIX\\f" + std::to_string(i));
    expected += "\n" + paths.back();
  }
  EXPECT_EQ(expected, install::NotInstalledText(paths));
  const std::string deep = "C:\\KAMBRIX\\" + std::string(88, 'x') + "\\MSinfo\\pic\\x.png";
  EXPECT_THAT(install::NotInstalledText({deep}), EndsWith(":\n" + setup::ShortenedPath(deep)));
}

}  // namespace
