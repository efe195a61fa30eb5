// The installation on a real Windows file system and shell, under Wine: the
// sample distribution installed into a temporary folder, a target held open
// by another process, and shortcuts read back through the shell.
#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gmock/gmock.h>

#include "install/installation.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_shell.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"
#include "support/install_steps.h"
#include "support/sample_source.h"
#include "support/temp_folder.h"
#include "support/year_file_system.h"
#include "setup/setup_error.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every file path below `folder`, relative to it; folders end in "\".
void ListTree(platform::FileSystem& fs, const std::string& folder, const std::string& prefix,
              std::vector<std::string>& paths) {
  for (const auto& entry : fs.Search(folder + "\\*", platform::SearchFilter::kFilesAndFolders)) {
    if (entry.attributes & platform::kAttrDirectory) {
      paths.push_back(prefix + entry.name + "\\");
      ListTree(fs, folder + "\\" + entry.name, prefix + entry.name + "\\", paths);
    } else {
      paths.push_back(prefix + entry.name);
    }
  }
}

class Win32Install : public ::testing::Test {
 protected:
  void SetUp() override { ScanFrom(test_support::SampleDir()); }

  void ScanFrom(const std::string& source) {
    // The scan takes its source from the current directory; the test then
    // leaves it, so that a temporary source can go while the test runs or ends.
    ASSERT_TRUE(SetCurrentDirectoryW(platform::Widen(source).c_str()));
    setup::SystemSetup(state_, fs_).ScanSource();
    SetCurrentDirectoryW(startFolder_.c_str());
    state_.InstFiles = setup::LoadTextFile(fs_, state_.SrcDir + "Install.dat");
    // Install below the temporary folder: its drive, and its path from the root.
    state_.DrBox.items = {target_.Path().substr(0, 1)};
    state_.DrBox.selected = 0;
    state_.PrBib = target_.Path().substr(3) + "\\KAMBRIX";
  }
  void TearDown() override { SetCurrentDirectoryW(startFolder_.c_str()); }

  // A distribution of its own with the programs p0.exe ... and nothing else.
  void ScanPrograms(const std::string& source, int count, std::uint32_t attributes) {
    std::string list;
    ASSERT_EQ(platform::kOk, fs_.CreateFolder(source + "\\prog"));
    for (int i = 0; i < count; ++i) {
      const std::string name = "p" + std::to_string(i) + ".exe";
      list += name + "\r\n";
      ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(source + "\\prog\\" + name, "p"));
      ASSERT_EQ(platform::kOk, fs_.SetAttributes(source + "\\prog\\" + name, attributes));
    }
    ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(source + "\\Install.dat", list));
    ScanFrom(source);
  }

  std::string Installed(const std::string& relative) {
    std::string bytes;
    fs_.ReadWholeFile(target_.Path() + "\\KAMBRIX\\" + relative, bytes);
    return bytes;
  }

  // Every copy of the plan is in the target with its source's bytes.
  void ExpectEveryCopyInstalled() {
    for (const install::PlannedCopy& copy : installation_.Plan().Copies()) {
      std::string source, installed;
      ASSERT_EQ(platform::kOk, fs_.ReadWholeFile(copy.source, source)) << copy.source;
      fs_.ReadWholeFile(copy.target, installed);
      EXPECT_TRUE(installed == source) << copy.target;
    }
  }

  const std::wstring startFolder_ = platform::Widen(platform::Win32FileSystem().CurrentDirectory());
  platform::ComInitialization com_;
  test_support::TempFolder target_{"install_test_"};
  test_support::YearFileSystem fs_;
  platform::Win32Shell shell_;
  setup::SetupState state_;
  install::Installation installation_{state_, fs_, shell_};
};

const char* const kSampleTree[] = {
    "sarnok.exe", "delviq.exe", "kbxfelt.dll", "delviq.hlp", "LAESMIG.TXT",
    "ABC.cfg", "KLM.cfg", "XYZ.cfg", "maaling.run", "MSinfo\\ABC.html", "MSinfo\\XYZ.html",
    "MSinfo\\pic\\abc1.png", "MSinfo\\pic\\xyz1.png", "logo.bmp", "DATA2004\\0401.dat",
    "DATA2004\\0402.dat", "DATA2004\\0403.dat"};


TEST_F(Win32Install, SampleDistributionIsInstalledByteForByte) {
  // The room asked for first: each file in whole clusters of the volume.
  const install::TargetSurvey survey = install::SurveyTarget(installation_.Plan(), fs_, {});
  ASSERT_TRUE(survey.space);
  EXPECT_EQ(0u, survey.needed % survey.space->cluster);
  EXPECT_GE(survey.needed, std::size(kSampleTree) * survey.space->cluster);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());

  ExpectEveryCopyInstalled();
  std::vector<std::string> expected = {"MSinfo\\", "MSinfo\\pic\\", "DATA2005\\", "DATA2004\\"};
  expected.insert(expected.end(), std::begin(kSampleTree), std::end(kSampleTree));
  std::vector<std::string> tree;
  ListTree(fs_, target_.Path() + "\\KAMBRIX", "", tree);
  EXPECT_THAT(tree, testing::UnorderedElementsAreArray(expected));
}

// Every file on a CD is read-only; the copies must not be, and keep the
// source's other attributes (Windows sets the archive bit of a new file).
TEST_F(Win32Install, CopiesOfReadOnlyFilesAreWritableWithTheirOtherAttributes) {
  test_support::TempFolder cd("install_cd_");
  ScanPrograms(cd.Path(), 1, platform::kAttrReadOnly | platform::kAttrHidden);
  test_support::InstallAsConfirmed(installation_);
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
  EXPECT_EQ(platform::kAttrHidden | platform::kAttrArchive,
            fs_.Attributes(target_.Path() + "\\KAMBRIX\\p0.exe"));
}

// The source folder gone part way through the copies: the disc taken out, or
// the share of a copied folder dropped.
TEST_F(Win32Install, SourceGoneDuringTheCopiesListsEveryCopyThatFailed) {
  test_support::TempFolder cd("install_cd_");
  ScanPrograms(cd.Path(), 300, platform::kAttrArchive);
  int copies = 0;
  fs_.afterCopy = [&] {
    if (++copies == 100) test_support::RemoveTree(platform::Widen(cd.Path()));
  };
  test_support::InstallAsConfirmed(installation_);
  ASSERT_EQ(200u, installation_.NotInstalled().size());
  EXPECT_EQ(target_.Path() + "\\KAMBRIX\\p100.exe", installation_.NotInstalled().front());
  EXPECT_EQ("p", Installed("p99.exe"));
}

TEST_F(Win32Install, ReinstallReplacesTheDistributionAndKeepsEverythingElse) {
  // Each installation is a fresh start of the program from the CD.
  const auto installFromCd = [this] {
    setup::SetupState state;
    setup::SystemSetup systemSetup(state, fs_);
    ASSERT_TRUE(SetCurrentDirectoryW(platform::Widen(test_support::SampleDir()).c_str()));
    systemSetup.ScanSource();
    state.InstFiles = setup::LoadTextFile(fs_, state.SrcDir + "Install.dat");
    state.DrBox = state_.DrBox;
    state.PrBib = state_.PrBib;
    install::Installation installation(state, fs_, shell_);
    test_support::InstallAsConfirmed(installation);
    systemSetup.WriteSystemFile();
    EXPECT_THAT(installation.NotInstalled(), IsEmpty());
  };
  installFromCd();
  const std::string kambrix = target_.Path() + "\\KAMBRIX\\";
  // A year of use: a program patched by hand, notes, measurements.
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(kambrix + "delviq.exe", "patched"));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(kambrix + "ABC.cfg", "tuned on site"));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(kambrix + "noter.txt", "m\xE5linger"));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(kambrix + "DATA2005\\0101.dat", "measured"));
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(kambrix + "MSinfo\\extra.html", "<p>"));

  fs_.year = 2006;
  installFromCd();

  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());
  ExpectEveryCopyInstalled();
  EXPECT_EQ("m\xE5linger", Installed("noter.txt"));
  EXPECT_EQ("measured", Installed("DATA2005\\0101.dat"));
  EXPECT_EQ("<p>", Installed("MSinfo\\extra.html"));
  EXPECT_THAT(test_support::FolderEntries(fs_, kambrix + "DATA2006"), IsEmpty());
  EXPECT_EQ("06001", setup::ParseTextFile(Installed("Vestmark.bib")).Get(4));
}

TEST_F(Win32Install, SystemFileThatCannotBeWrittenLeavesTheOldOneAndNoOtherFile) {
  setup::SystemSetup systemSetup(state_, fs_);
  test_support::InstallAsConfirmed(installation_);
  systemSetup.WriteSystemFile();
  const std::string before = Installed("Vestmark.bib");
  const auto filesBefore = test_support::FolderEntries(fs_, target_.Path() + "\\KAMBRIX");

  // A name with characters Windows forbids in file names.
  state_.SysNavn = "Vest|mark";
  EXPECT_THAT([&] { systemSetup.WriteSystemFile(); },
              testing::ThrowsMessage<setup::SetupError>(
                  testing::StrEq("Cannot create file " + target_.Path() + "\\KAMBRIX\\Vest|mark.bib")));
  EXPECT_EQ(filesBefore, test_support::FolderEntries(fs_, target_.Path() + "\\KAMBRIX"));
  EXPECT_TRUE(Installed("Vestmark.bib") == before);

  // The target folder gone by the time the file is written.
  state_.SysNavn = "Vestmark";
  state_.DestDir = target_.Path() + "\\gone\\";
  EXPECT_THROW(systemSetup.WriteSystemFile(), setup::SetupError);
  EXPECT_FALSE(platform::FolderExists(fs_, target_.Path() + "\\gone"));
}

TEST_F(Win32Install, FileHeldOpenByAnotherProcessIsReportedAndTheRunGoesOn) {
  test_support::InstallAsConfirmed(installation_);
  ASSERT_EQ(platform::kOk, fs_.WriteWholeFile(target_.Path() + "\\KAMBRIX\\logo.bmp", "old"));
  const std::string held = target_.Path() + "\\KAMBRIX\\delviq.exe";

  // Another process holds the graph program open, as when it is running.
  const std::wstring ready = L"install_test_ready_" + std::to_wstring(GetCurrentProcessId());
  const std::wstring release = L"install_test_release_" + std::to_wstring(GetCurrentProcessId());
  const HANDLE readyEvent = CreateEventW(nullptr, TRUE, FALSE, ready.c_str());
  const HANDLE releaseEvent = CreateEventW(nullptr, TRUE, FALSE, release.c_str());
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + platform::Widen(platform::FolderPart(platform::Narrow(self))) +
                         L"hold_open.exe\" \"" + platform::Widen(held) + L"\" " + ready + L" " + release;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(readyEvent, 30000));

  // The look before the installation sees it; Wine's Restart Manager names
  // no program, Windows' names the one that holds it.
  EXPECT_THAT(install::SurveyTarget(installation_.Plan(), fs_, {}).inUse, ElementsAre(held));
  EXPECT_THAT(fs_.ProgramsHolding({held}),
              testing::AnyOf(IsEmpty(), ElementsAre(testing::HasSubstr("hold_open"))));
  // Taken after that look, it is listed.
  test_support::InstallAsConfirmed(installation_);
  SetEvent(releaseEvent);
  WaitForSingleObject(process.hProcess, 30000);
  for (HANDLE handle : {process.hProcess, process.hThread, readyEvent, releaseEvent}) CloseHandle(handle);

  EXPECT_THAT(installation_.NotInstalled(), ElementsAre(held));
  std::string bitmap;
  fs_.ReadWholeFile(state_.SrcDir + "config\\logo.bmp", bitmap);
  EXPECT_TRUE(Installed("logo.bmp") == bitmap);  // copied after the failed one
}

// What a shortcut file says, read back through the shell's own object.
struct LinkContents {
  std::string target, workingDirectory, arguments;
};

LinkContents ReadLink(const std::string& path) {
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  Microsoft::WRL::ComPtr<IPersistFile> file;
  LinkContents contents;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&file)) || FAILED(file->Load(platform::Widen(path).c_str(), STGM_READ))) {
    ADD_FAILURE() << "cannot read " << path;
    return contents;
  }
  wchar_t text[MAX_PATH * 2] = {};
  link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
  contents.target = platform::Narrow(text);
  text[0] = L'\0';
  link->GetWorkingDirectory(text, MAX_PATH * 2);
  contents.workingDirectory = platform::Narrow(text);
  text[0] = L'\0';
  link->GetArguments(text, MAX_PATH * 2);
  contents.arguments = platform::Narrow(text);
  return contents;
}

TEST_F(Win32Install, ShortcutsOnTheDesktopCarryTargetFolderAndArguments) {
  const auto desktop = shell_.DesktopFolder();
  ASSERT_TRUE(desktop);
  // A folder name with Danish letters reaches the shortcut unchanged.
  state_.DestDir = "C:\\Målinger\\KAMBRIX\\";
  state_.SysNavn = " KAMBRIX datalogger";  // the default name, with its leading space
  installation_.MakeShortcut("delviq", false);
  installation_.MakeShortcut("sarnok", true);
  EXPECT_THAT(installation_.NotInstalled(), IsEmpty());

  const LinkContents graph = ReadLink(*desktop + "\\delviq.lnk");
  EXPECT_EQ("C:\\Målinger\\KAMBRIX\\delviq.exe", graph.target);
  EXPECT_EQ("C:\\Målinger\\KAMBRIX\\", graph.workingDirectory);
  EXPECT_EQ("", graph.arguments);
  const LinkContents collection = ReadLink(*desktop + "\\sarnok.lnk");
  EXPECT_EQ("C:\\Målinger\\KAMBRIX\\sarnok.exe", collection.target);
  EXPECT_EQ(" KAMBRIX datalogger", collection.arguments);
}

// The desktop redirected to a drive that is not there, as a roaming desktop
// can be when its server is away; put back afterwards.
class MissingDesktop {
 public:
  MissingDesktop() {
    RegOpenKeyExW(HKEY_CURRENT_USER, kFolders, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
    DWORD size = sizeof(previous_);
    had_ = RegQueryValueExW(key_, L"Desktop", nullptr, &type_,
                            reinterpret_cast<BYTE*>(previous_), &size) == ERROR_SUCCESS;
    const wchar_t missing[] = L"Q:\\nowhere";
    RegSetValueExW(key_, L"Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(missing), sizeof(missing));
  }
  ~MissingDesktop() {
    if (had_) {
      RegSetValueExW(key_, L"Desktop", 0, type_, reinterpret_cast<const BYTE*>(previous_),
                     static_cast<DWORD>((wcslen(previous_) + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, L"Desktop");
    }
    RegCloseKey(key_);
  }

 private:
  static constexpr const wchar_t* kFolders =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  HKEY key_ = nullptr;
  bool had_ = false;
  DWORD type_ = REG_SZ;
  wchar_t previous_[MAX_PATH * 2] = {};
};

TEST_F(Win32Install, WithoutADesktopFolderNoShortcutIsMade) {
  MissingDesktop missing;
  ASSERT_FALSE(shell_.DesktopFolder());
  state_.DestDir = target_.Path() + "\\";
  installation_.MakeShortcut("delviq", false);
  EXPECT_THAT(installation_.NotInstalled(), ElementsAre("delviq.lnk"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\\delviq.lnk"));
}

}  // namespace
