#include "install/installation.h"

#include <gmock/gmock.h>

#include <functional>

#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "setup/setup_error.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"
#include "support/install_steps.h"
#include "support/sample_source.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

class Install : public ::testing::Test {
 protected:
  Install() {
    fs_.AddDrive('C');
    fs_.AddDrive('D');
    fs_.SetYear(2005);
  }

  // The sample distribution on drive E, scanned as at start-up.
  void ScanSample() {
    test_support::LoadHostFolder(fs_, test_support::SampleDir(), "E:\\");
    fs_.SetCurrentDirectory("E:\\");
    setup::SystemSetup(state_, fs_).ScanSource();
    state_.InstFiles = setup::LoadTextFile(fs_, "E:\\Install.dat");
  }

  // A source with only the given Install.dat lines, prog files and an empty
  // config folder.
  void SourceWith(std::initializer_list<const char*> lines) {
    fs_.AddFolder("E:\\prog");
    fs_.AddFolder("E:\\config");
    fs_.SetCurrentDirectory("E:\\");
    setup::SystemSetup(state_, fs_).ScanSource();
    for (const char* line : lines) state_.InstFiles.Add(line);
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  setup::SetupState state_;
  install::Installation installation_{state_, fs_, shell_};
};

TEST_F(Install, SampleIsInstalledGroupByGroupInListOrder) {
  ScanSample();
  fs_.ClearJournal();
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(fs_.Journal(), ElementsAre(
      "mkdir C:\\KAMBRIX", "mkdir C:\\KAMBRIX\\MSinfo", "mkdir C:\\KAMBRIX\\MSinfo\\pic",
      "mkdir C:\\KAMBRIX\\DATA2005",
      "copy E:\\prog\\sarnok.exe -> C:\\KAMBRIX\\sarnok.exe",
      "copy E:\\prog\\delviq.exe -> C:\\KAMBRIX\\delviq.exe",
      "copy E:\\prog\\kbxfelt.dll -> C:\\KAMBRIX\\kbxfelt.dll",
      "copy E:\\prog\\delviq.hlp -> C:\\KAMBRIX\\delviq.hlp",
      "copy E:\\prog\\LAESMIG.TXT -> C:\\KAMBRIX\\LAESMIG.TXT",
      "copy E:\\config\\ABC.cfg -> C:\\KAMBRIX\\ABC.cfg",
      "copy E:\\config\\KLM.cfg -> C:\\KAMBRIX\\KLM.cfg",
      "copy E:\\config\\XYZ.cfg -> C:\\KAMBRIX\\XYZ.cfg",
      "copy E:\\config\\maaling.run -> C:\\KAMBRIX\\maaling.run",
      "copy E:\\config\\MSinfo\\ABC.html -> C:\\KAMBRIX\\MSinfo\\ABC.html",
      "copy E:\\config\\MSinfo\\XYZ.html -> C:\\KAMBRIX\\MSinfo\\XYZ.html",
      "copy E:\\config\\MSinfo\\pic\\abc1.png -> C:\\KAMBRIX\\MSinfo\\pic\\abc1.png",
      "copy E:\\config\\MSinfo\\pic\\xyz1.png -> C:\\KAMBRIX\\MSinfo\\pic\\xyz1.png",
      "copy E:\\config\\logo.bmp -> C:\\KAMBRIX\\logo.bmp",
      "mkdir C:\\KAMBRIX\\DATA2004",
      // The samples it makes are listed first: a stopped run leaves none
      // that looks like the site's own.
      "mkdir C:\\KAMBRIX\\~setup0.tmp", "write C:\\KAMBRIX\\~setup0.tmp\\samples.lst",
      "copy E:\\DATA2004\\0401.dat -> C:\\KAMBRIX\\DATA2004\\0401.dat",
      "copy E:\\DATA2004\\0402.dat -> C:\\KAMBRIX\\DATA2004\\0402.dat",
      "copy E:\\DATA2004\\0403.dat -> C:\\KAMBRIX\\DATA2004\\0403.dat",
      "delete C:\\KAMBRIX\\~setup0.tmp\\samples.lst", "rmdir C:\\KAMBRIX\\~setup0.tmp"));
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
  EXPECT_EQ("C:\\KAMBRIX\\", state_.DestDir);
  EXPECT_EQ("C:\\KAMBRIX\\DATA2005", state_.DataDir);
  EXPECT_EQ("05001", state_.YearSeq);
  EXPECT_EQ(fs_.FileContent("E:\\config\\logo.bmp"), fs_.FileContent("C:\\KAMBRIX\\logo.bmp"));
}

TEST_F(Install, TargetFolderPutsTheFolderTextUnderTheChosenDrive) {
  state_.DrBox.items = {"C", "D"};
  const std::tuple<int, const char*, const char*> cases[] = {
      {0, "KAMBRIX", "C:\\KAMBRIX"},
      {0, "KAMBRIX\\", "C:\\KAMBRIX"},
      {1, "C:\\KAMBRIX\\", "D:\\KAMBRIX"},
      {1, "Prog\\KAMBRIX", "D:\\Prog\\KAMBRIX"},
      {0, "C:KAMBRIX", "C:\\AMBRIX"},
      {0, ":\\KAMBRIX", "C:\\KAMBRIX"},
      {0, "ab:\\KAMBRIX", "C:\\KAMBRIX"},
      {0, "abc:\\KAMBRIX", "C:\\abc:\\KAMBRIX"},
      {0, "Måling:\\x", "C:\\Måling:\\x"},
  };
  for (const auto& [drive, folder, target] : cases) {
    state_.DrBox.selected = drive;
    state_.PrBib = folder;
    EXPECT_EQ(target, installation_.TargetFolder()) << folder;
  }
}

TEST_F(Install, RefusesWithoutDriveOrFolderBeforeWritingAnything) {
  SourceWith({"a.exe"});
  fs_.ClearJournal();
  state_.PrBib = "KAMBRIX";
  state_.DrBox.items.clear();
  state_.DrBox.selected = -1;
  EXPECT_EQ(install::Refusal::kNoDrive, installation_.CheckTarget());
  EXPECT_THAT([this] { installation_.Plan(); },
              ThrowsMessage<setup::SetupError>(StrEq("Der er ikke fundet noget drev at installere på")));

  state_.DrBox.items = {"C"};
  state_.DrBox.selected = 0;
  for (const char* folder :
       {"", "C:", "C:\\", "\\", "D:\\ .\\", "KAMBRIX\\..", "a\\b\\..\\. .\\c"}) {
    state_.PrBib = folder;
    EXPECT_EQ(install::Refusal::kNoProgramFolder, installation_.CheckTarget()) << folder;
    EXPECT_THAT([this] { installation_.Plan(); },
                ThrowsMessage<setup::SetupError>(StrEq("Der er ikke angivet nogen programmappe")))
        << folder;
  }
  EXPECT_THAT(fs_.Journal(), IsEmpty());
}

TEST_F(Install, RefusesFolderTextsThatWindowsCannotUseOrReach) {
  using install::Refusal;
  SourceWith({});
  fs_.AddFile("C:\\file", "in the way");
  const std::string a233(233, 'a');  // with \MSinfo\pic 247; C:\KAMBRIX\ + 244 + .bib: 259
  const Refusal name = Refusal::kUnusableFolderName, file = Refusal::kFolderIsFile,
                tooLong = Refusal::kPathTooLong, none = Refusal::kNone;
  struct Case {
    std::string folder;
    std::size_t length;  // of the system name, or of the one name in `list`
    Refusal refusal;
    setup::TextList setup::SetupState::*list = nullptr;
  };
  const Case cases[] = {
      {"NUL\\x", 0, name},       {"KB_X\\sub:str", 0, name},   {"a\\\\b", 0, name},
      {"file", 0, file},         {"D:\\file\\sub", 0, file},  {a233, 0, none},
      {a233 + "a", 0, tooLong},  {"KAMBRIX", 244, none},      {"KAMBRIX", 245, tooLong},
      // After C:\KAMBRIX\MSinfo\pic\ and C:\KAMBRIX\DATA2004\: 260 characters.
      {"KAMBRIX", 238, tooLong, &setup::SetupState::PicFiles},
      {"KAMBRIX", 237, tooLong, &setup::SetupState::HtmlNames},  // in MSinfo\, with .html
      {"KAMBRIX", 240, tooLong, &setup::SetupState::DataFiles},
  };
  state_.DataSubDir = "DATA2004";
  for (const auto& [folder, length, refusal, list] : cases) {
    state_.PrBib = folder;
    state_.SysNavn = std::string(list != nullptr ? 1 : std::max<std::size_t>(length, 1), 'v');
    state_.PicFiles = state_.DataFiles = state_.HtmlNames = setup::TextList();
    if (list != nullptr) (state_.*list).Add(std::string(length, 'p'));
    EXPECT_EQ(refusal, installation_.CheckTarget()) << folder;
  }
}

TEST_F(Install, YearGivesTheDataFolderAndSequenceAndEachYearKeepsItsFolder) {
  SourceWith({});
  test_support::InstallAsConfirmed(installation_);
  fs_.SetYear(2006);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_EQ("06001", state_.YearSeq);
  EXPECT_TRUE(fs_.IsFolder("C:\\KAMBRIX\\DATA2005"));
  EXPECT_TRUE(fs_.IsFolder("C:\\KAMBRIX\\DATA2006"));
}

TEST_F(Install, MissingSourcesAreSkippedSilently) {
  SourceWith({"missing.exe", "", "present.exe"});
  fs_.AddFile("E:\\prog\\present.exe", "p");
  state_.MSnavn.Insert("*");
  state_.MSnavn.Insert("NEW");
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
  EXPECT_THAT(fs_.Tree("C:\\KAMBRIX"),
              ElementsAre("MSinfo", "MSinfo\\pic", "DATA2005", "present.exe"));
}

TEST_F(Install, SecondInstallReplacesSameNamesAndKeepsOtherFiles) {
  ScanSample();
  fs_.SetAttributes("E:\\prog\\delviq.exe", platform::kAttrReadOnly);  // as every file on a CD
  test_support::InstallAsConfirmed(installation_);
  EXPECT_EQ(platform::kAttrArchive, fs_.Attributes("C:\\KAMBRIX\\delviq.exe"));
  // Read-only and hidden files are replaced too, unless held open: then listed and left as they were.
  fs_.AddFile("C:\\KAMBRIX\\delviq.exe", "changed by the user", platform::kAttrReadOnly);
  fs_.AddFile("C:\\KAMBRIX\\ABC.cfg", "hidden by the user", platform::kAttrHidden);
  fs_.AddFile("C:\\KAMBRIX\\sarnok.exe", "running", platform::kAttrReadOnly);
  fs_.LockFile("C:\\KAMBRIX\\sarnok.exe");
  fs_.AddFile("C:\\KAMBRIX\\DATA2005\\measured.dat", "kept");
  fs_.AddFile("C:\\KAMBRIX\\DATA2004\\0401.dat", "measured here");  // never a sample in its place
  test_support::InstallAsConfirmed(installation_);
  EXPECT_EQ(fs_.FileContent("E:\\prog\\delviq.exe"), fs_.FileContent("C:\\KAMBRIX\\delviq.exe"));
  EXPECT_EQ(platform::kAttrArchive, fs_.Attributes("C:\\KAMBRIX\\delviq.exe"));
  EXPECT_EQ(fs_.FileContent("E:\\config\\ABC.cfg"), fs_.FileContent("C:\\KAMBRIX\\ABC.cfg"));
  EXPECT_THAT(installation_.NotInstalled(), ElementsAre("C:\\KAMBRIX\\sarnok.exe"));
  EXPECT_EQ(platform::kAttrReadOnly, fs_.Attributes("C:\\KAMBRIX\\sarnok.exe"));
  EXPECT_EQ("kept", fs_.FileContent("C:\\KAMBRIX\\DATA2005\\measured.dat"));
  EXPECT_EQ("measured here", fs_.FileContent("C:\\KAMBRIX\\DATA2004\\0401.dat"));
}

// Whatever breaks a copy off, an existing file stays as it was and a new one
// is not left short; a link in a file's place is replaced, not followed.
TEST_F(Install, AFailedCopyLeavesTheOldFileWholeAndNoShortNewOne) {
  using Fault = std::function<void(platform::MemoryFileSystem&)>;
  const Fault none = [](auto&) {};
  const Fault diskFull = [](auto& fs) { fs.SetDriveCapacity('C', 20); };
  const Fault readError = [](auto& fs) { fs.SetReadError("E:\\prog\\a.exe"); };
  const Fault reportedDone = [](auto& fs) { fs.SetReadError("E:\\prog\\a.exe", true); };
  const Fault held = [](auto& fs) { fs.LockFile("C:\\KAMBRIX\\a.exe"); };
  // A copy of a read-only source is read-only from the start.
  const Fault readOnlyBreaks = [](auto& fs) {
    fs.SetAttributes("E:\\prog\\a.exe", platform::kAttrReadOnly);
    fs.SetReadError("E:\\prog\\a.exe");
  };
  const Fault link = [](auto& fs) { fs.AddLink("C:\\KAMBRIX\\a.exe", "C:\\elsewhere\\x.exe", false); };
  // FAT refuses a rename over a read-only file or a folder as "already exists".
  const Fault fat = [](auto& fs) { fs.SetFat('C'); };
  const Fault fatFolder = [](auto& fs) {
    fs.SetFat('C');
    fs.Remove("C:\\KAMBRIX\\a.exe");
    fs.AddFolder("C:\\KAMBRIX\\a.exe");
  };
  const std::string fresh = "new program, longer";
  const std::tuple<const char*, std::uint32_t, Fault, std::optional<std::string>> cases[] = {
      // the old file (none), its attributes, the fault, what is left
      {"old", platform::kAttrArchive, none, fresh},
      {"old", platform::kAttrReadOnly, none, fresh},
      {"old", platform::kAttrReadOnly, fat, fresh},
      {"old", platform::kAttrArchive, fatFolder, std::nullopt},
      {"old", platform::kAttrReadOnly, diskFull, "old"},
      {"old", platform::kAttrHidden, readError, "old"},
      {"old", platform::kAttrArchive, reportedDone, "old"},
      {"old", platform::kAttrArchive, held, "old"},
      {"old", platform::kAttrArchive, readOnlyBreaks, "old"},
      {nullptr, 0, readOnlyBreaks, std::nullopt},
      {nullptr, 0, link, fresh},
      {nullptr, 0, diskFull, std::nullopt},
      {nullptr, 0, reportedDone, std::nullopt},
  };
  for (const auto& [old, attributes, fault, left] : cases) {
    platform::MemoryFileSystem fs;
    fs.AddFile("E:\\prog\\a.exe", fresh);
    fs.AddFile("C:\\elsewhere\\x.exe", "elsewhere");
    fs.SetCurrentDirectory("E:\\");
    setup::SetupState state;
    setup::SystemSetup(state, fs).ScanSource();
    state.InstFiles.Add("a.exe");
    if (old != nullptr) fs.AddFile("C:\\KAMBRIX\\a.exe", old, attributes);
    fault(fs);
    install::Installation installation(state, fs, shell_);
    test_support::InstallAsConfirmed(installation);
    const std::string detail = old == nullptr ? "new" : std::string(old) + std::to_string(attributes);
    EXPECT_EQ(left, fs.FileContent("C:\\KAMBRIX\\a.exe")) << detail;
    EXPECT_EQ(left != fresh, !installation.NotInstalled().empty()) << detail;
    const std::uint32_t kept = left == fresh ? platform::kAttrArchive : attributes;
    if (left) {
      EXPECT_EQ(kept, fs.Attributes("C:\\KAMBRIX\\a.exe")) << detail;
    }
    EXPECT_EQ("elsewhere", fs.FileContent("C:\\elsewhere\\x.exe")) << detail;
    EXPECT_THAT(fs.Tree("C:\\KAMBRIX"), testing::Each(testing::Not(testing::StartsWith("~")))) << detail;
  }
}

TEST_F(Install, DiscTakenOutPartWayListsEveryCopyThatFailedFromThenOn) {
  ScanSample();
  state_.MSnavn.Insert("NEW");  // no NEW.cfg on the disc: silent while it can be read
  fs_.SetReadError("E:\\prog\\delviq.exe");
  fs_.TakeOutAfter('E', 13);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\delviq.exe", "C:\\KAMBRIX\\MSinfo\\pic\\xyz1.png",
                          "C:\\KAMBRIX\\logo.bmp", "C:\\KAMBRIX\\DATA2004\\0401.dat",
                          "C:\\KAMBRIX\\DATA2004\\0402.dat", "C:\\KAMBRIX\\DATA2004\\0403.dat"));
}

// A station typed by the user (NEW) has no file on the disc; that stays
// silent only while the system says so and its folder can still be read.
TEST_F(Install, FailuresAreSilentOnlyForFilesTheSystemReportsMissingFromAReadableFolder) {
  using Fault = std::function<void(platform::MemoryFileSystem&, setup::SetupState&)>;
  const std::string programs[] = {"sarnok.exe", "delviq.exe", "kbxfelt.dll", "delviq.hlp",
                                  "LAESMIG.TXT"};
  const std::pair<Fault, std::vector<std::string>> cases[] = {
      {[](auto& fs, auto&) { fs.Deny("E:\\prog"); }, {std::begin(programs), std::end(programs)}},
      {[](auto& fs, auto&) { fs.Remove("E:\\prog"); }, {std::begin(programs), std::end(programs)}},
      // A device name is never asked for, but the folder it would be in is.
      {[](auto& fs, auto& state) {
         fs.Remove("E:\\prog");
         state.InstFiles = setup::ParseTextFile("aux.exe");
       },
       {"aux.exe"}},
      {[](auto& fs, auto&) { fs.Deny("E:\\config\\MSinfo\\pic\\xyz1.png"); },
       {"MSinfo\\pic\\xyz1.png"}},
      {[](auto& fs, auto&) { fs.Remove("E:\\config"); },
       {"ABC.cfg", "KLM.cfg", "NEW.cfg", "XYZ.cfg", "maaling.run", "MSinfo\\ABC.html",
        "MSinfo\\XYZ.html", "MSinfo\\pic\\abc1.png", "MSinfo\\pic\\xyz1.png", "logo.bmp"}},
      // A missing target folder is reported as a missing path too.
      {[](auto& fs, auto&) { fs.AddFile("C:\\KAMBRIX\\MSinfo", "in the way"); },
       {"MSinfo\\ABC.html", "MSinfo\\XYZ.html", "MSinfo\\pic\\abc1.png", "MSinfo\\pic\\xyz1.png"}},
      // Windows takes "/" as a separator too: the folder "sub" is missing.
      {[](auto&, auto& state) { state.InstFiles.Add("sub/x.exe"); }, {"sub/x.exe"}},
      // Listed by the scan with U+FFFD for an unpaired surrogate.
      {[](auto& fs, auto& state) {
         fs.AddFile("E:\\config\\MSinfo\\pic\\b\xEF\xBF\xBD.png", "b");
         state.PicFiles.Add("b\xEF\xBF\xBD.png");
       },
       {"MSinfo\\pic\\b\xEF\xBF\xBD.png"}},
  };
  for (const auto& [fault, listed] : cases) {
    platform::MemoryFileSystem fs;
    fs.AddDrive('C');
    test_support::LoadHostFolder(fs, test_support::SampleDir(), "E:\\");
    fs.SetCurrentDirectory("E:\\");
    setup::SetupState state;
    setup::SystemSetup(state, fs).ScanSource();
    state.InstFiles = setup::LoadTextFile(fs, "E:\\Install.dat");
    state.MSnavn.Insert("NEW");
    fault(fs, state);
    install::Installation installation(state, fs, shell_);
    test_support::InstallAsConfirmed(installation);
    std::vector<std::string> expected;
    for (const auto& name : listed) expected.push_back("C:\\KAMBRIX\\" + name);
    EXPECT_EQ(expected, installation.NotInstalled());
  }
}

// What a stopped run left is deleted by the next, by the names only this
// program gives; nothing else, nothing through a link, nothing still held.
TEST_F(Install, LeftoversOfAStoppedRunAreDeletedButNothingElse) {
  SourceWith({});
  fs_.AddFile("C:\\KAMBRIX\\~setup0.tmp\\1", "half", platform::kAttrReadOnly);
  fs_.AddFile("C:\\KAMBRIX\\~setup0.tmp\\2", "held by another installation");
  fs_.LockFile("C:\\KAMBRIX\\~setup0.tmp\\2");
  fs_.AddFile("C:\\KAMBRIX\\~SETUP12.TMP\\3", "half");
  fs_.AddFile("C:\\KAMBRIX\\~setup7.tmp\\3", "half");
  fs_.AddFile("C:\\KAMBRIX\\~setup7.tmp\\notes.txt", "the site's");
  fs_.AddFile("C:\\KAMBRIX\\~setup7.tmp\\~wr1.2.tmp", "half a list");
  fs_.AddFile("C:\\KAMBRIX\\~wr1234.5.tmp", "half a system file");
  fs_.AddFile("C:\\KAMBRIX\\~wr.tmp", "the site's");
  fs_.AddFile("C:\\KAMBRIX\\MSinfo\\~setup1.tmp\\4", "not where the copies go");
  fs_.AddFile("C:\\elsewhere\\5", "elsewhere");
  fs_.AddLink("C:\\KAMBRIX\\~setup9.tmp", "C:\\elsewhere", true);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(fs_.Tree("C:\\KAMBRIX"),
              testing::UnorderedElementsAre(
                  "~setup0.tmp", "~setup0.tmp\\2", "~setup7.tmp", "~setup7.tmp\\notes.txt",
                  "~wr.tmp", "MSinfo", "MSinfo\\~setup1.tmp", "MSinfo\\~setup1.tmp\\4",
                  "~setup9.tmp", "MSinfo\\pic", "DATA2005"));
  EXPECT_EQ("elsewhere", fs_.FileContent("C:\\elsewhere\\5"));
}

// Windows opens no path longer than 259 characters, on the disc either.
TEST_F(Install, ASourcePathTooLongForWindowsIsListed) {
  const std::string disc = "E:\\" + std::string(240, 'd') + "\\";
  const std::string name = std::string(12, 'x') + ".exe";  // 265 characters on the disc
  fs_.AddFile(disc + "prog\\" + name, "x");
  fs_.AddFolder(disc + "config");
  fs_.SetCurrentDirectory(disc);
  setup::SystemSetup(state_, fs_).ScanSource();
  state_.InstFiles.Add(name);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(), ElementsAre("C:\\KAMBRIX\\" + name));
}

TEST_F(Install, YearFolderThatCannotBeMadeIsListedAndTheFileInItsPlaceKept) {
  SourceWith({});
  fs_.AddFile("C:\\KAMBRIX\\DATA2005", "not a folder");
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(), ElementsAre("C:\\KAMBRIX\\DATA2005"));
  EXPECT_EQ("not a folder", fs_.FileContent("C:\\KAMBRIX\\DATA2005"));
  setup::SystemSetup(state_, fs_).WriteSystemFile();
  EXPECT_EQ("C:\\KAMBRIX\\DATA2005\\", setup::ParseTextFile(*fs_.FileContent(
                                               "C:\\KAMBRIX\\" + state_.SysNavn + ".bib")).Get(0));
}

TEST_F(Install, CopiesThatFailAlthoughTheSourceExistsAreListed) {
  SourceWith({"locked.dll", "sub\\x.exe", "ok\\y.exe", "after.exe"});
  for (const char* name : {"locked.dll", "sub\\x.exe", "ok\\y.exe", "after.exe"}) {
    fs_.AddFile(std::string("E:\\prog\\") + name, name);
  }
  fs_.AddFile("C:\\KAMBRIX\\locked.dll", "in use");
  fs_.LockFile("C:\\KAMBRIX\\locked.dll");
  fs_.AddFolder("C:\\KAMBRIX\\ok");
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(),
              ElementsAre("C:\\KAMBRIX\\locked.dll", "C:\\KAMBRIX\\sub\\x.exe"));
  EXPECT_EQ("ok\\y.exe", fs_.FileContent("C:\\KAMBRIX\\ok\\y.exe"));
  EXPECT_EQ("after.exe", fs_.FileContent("C:\\KAMBRIX\\after.exe"));
}

TEST_F(Install, NamesReachingOutsideTheFoldersAreNeverCopied) {
  fs_.AddFile("C:\\Windows\\x.dll", "system");
  fs_.AddFile("E:\\secret.txt", "outside the source");
  SourceWith({"..\\..\\Windows\\x.dll", "C:\\Windows\\x.dll", "\\Windows\\x.dll",
              "../secret.txt", ".. \\secret.txt", "x.dll:stream"});
  fs_.AddFile("E:\\prog\\x.dll", "from the distribution");
  state_.BmpName = "..\\..\\secret.txt";
  test_support::InstallAsConfirmed(installation_);
  EXPECT_EQ("system", fs_.FileContent("C:\\Windows\\x.dll"));
  EXPECT_FALSE(fs_.FileContent("C:\\secret.txt"));
  EXPECT_FALSE(fs_.FileContent("C:\\KAMBRIX\\secret.txt"));
  EXPECT_EQ(7u, installation_.NotInstalled().size());
}

TEST_F(Install, ProgressCountsEveryPlannedCopy) {
  ScanSample();
  const install::InstallPlan plan = installation_.Plan();
  install::CopyProgress progress;
  install::CopyFiles(plan, fs_, install::TargetSurvey{}, &progress);
  EXPECT_EQ(17u, plan.CopyCount());
  EXPECT_EQ(34u, progress.done.load());
}

TEST_F(Install, CopiesMakeTheTargetWithItsParentsAndNeedOne) {
  install::InstallPlan plan;
  plan.Year = 2005;
  EXPECT_THROW(install::CopyFiles(plan, fs_, {}), setup::SetupError);
  plan.Target = "D:\\a\\b\\c";
  install::CopyFiles(plan, fs_, {});
  EXPECT_TRUE(fs_.IsFolder("D:\\a\\b\\c\\MSinfo\\pic"));
}

TEST_F(Install, ShortcutsCarryTargetWorkingFolderAndTheSystemName) {
  state_.DestDir = "C:\\KAMBRIX\\";
  installation_.MakeShortcut("delviq", false);
  installation_.MakeShortcut("sarnok", true);
  ASSERT_EQ(2u, shell_.saved.size());
  EXPECT_EQ("C:\\Users\\test\\Desktop\\delviq.lnk", shell_.saved[0].linkPath);
  EXPECT_EQ("C:\\KAMBRIX\\delviq.exe", shell_.saved[0].target);
  EXPECT_EQ("C:\\KAMBRIX\\", shell_.saved[0].workingDirectory);
  EXPECT_FALSE(shell_.saved[0].arguments);
  EXPECT_EQ("C:\\KAMBRIX\\sarnok.exe", shell_.saved[1].target);
  EXPECT_EQ(" KAMBRIX datalogger", shell_.saved[1].arguments);
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
}

TEST_F(Install, ShortcutFailures) {
  state_.DestDir = "C:\\KAMBRIX\\";
  shell_.desktop.reset();
  installation_.MakeShortcut("delviq", false);
  shell_.desktop = "C:\\Desk";
  shell_.failWith = platform::ShortcutResult::Failure::kSave;
  installation_.MakeShortcut("sarnok", true);
  EXPECT_THAT(shell_.saved, IsEmpty());
  EXPECT_THAT(installation_.NotInstalled(), ElementsAre("delviq.lnk", "C:\\Desk\\sarnok.lnk"));

  shell_.failWith = platform::ShortcutResult::Failure::kQueryInterface;
  EXPECT_THAT([this] { installation_.MakeShortcut("delviq", false); },
              ThrowsMessage<setup::SetupError>(StrEq("Unspecified error")));
}

}  // namespace
