// The setup window in this process, under Wine: the real window and
// controls, over the in-memory file system and shell, with the message boxes
// answered from a script.
#include "ui/form.h"

#include <commctrl.h>
#include <gmock/gmock.h>

#include <atomic>
#include <deque>
#include <functional>
#include <thread>

#include "platform/memory_file_system.h"
#include "platform/wide.h"
#include "support/sample_source.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using namespace ui;

struct ScriptedDialogs : Dialogs {
  struct Shown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;
  };
  std::vector<Shown> shown;
  std::deque<int> answers;  // for the OK/Cancel questions, in order
  // What the user does elsewhere while a box waits, given its owner.
  std::function<void(HWND)> meanwhile;

  int Show(HWND owner, const std::string& text, const std::string& caption, UINT flags) override {
    shown.push_back({owner, text, caption, flags});
    if (meanwhile) meanwhile(owner);
    if ((flags & MB_TYPEMASK) != MB_OKCANCEL) return IDOK;
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return IDCANCEL;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& box : shown) captions.push_back(box.caption);
    return captions;
  }
};

std::string TextOf(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  return platform::Narrow(text);
}

std::vector<std::string> Entries(HWND combo) {
  std::vector<std::string> entries;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.push_back(platform::Narrow(text));
  }
  return entries;
}

RECT PlaceInClient(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class Form : public ::testing::Test {
 protected:
  Form() {
    fs_.AddDrive('C');
    test_support::LoadHostFolder(fs_, test_support::SampleDir(), "E:\\cd");
    fs_.SetCurrentDirectory("E:\\cd");
  }

  void Open() {
    form_.Create(SW_SHOWNORMAL);
    Pump();
  }

  // Delivers what is queued, as the program's event loop does.
  void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (form_.PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

  HWND Control(ControlId id) { return form_.Control(id); }
  HWND StationEdit() { return GetWindow(Control(kMSnavn), GW_CHILD); }

  void Click(ControlId id) {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
    Pump();
  }

  // Keys as the user types them, through the event loop.
  void Type(HWND control, const std::wstring& keys) {
    for (const wchar_t key : keys) {
      const WPARAM virtualKey = key == L'\r' ? VK_RETURN : 0;
      if (virtualKey != 0) PostMessageW(control, WM_KEYDOWN, virtualKey, 0);
      PostMessageW(control, WM_CHAR, key, 0);
      Pump();
    }
  }

  void SetEdit(ControlId id, const std::string& text) {
    SetWindowTextW(Control(id), platform::Widen(text).c_str());  // sends EN_CHANGE
    Pump();
  }

  platform::MemoryFileSystem fs_;
  platform::MemoryShell shell_;
  ScriptedDialogs dialogs_;
  bool ended_ = false;
  TForm1 form_{fs_, shell_, dialogs_, [this] { ended_ = true; }};
};

TEST_F(Form, ShowsTheScannedValuesInFullMode) {
  Open();
  EXPECT_EQ("VORNEKA installation af KAMBRIX programmer", TextOf(form_.Handle()));
  EXPECT_EQ("Vestmark", TextOf(Control(kSysNavn)));
  EXPECT_EQ("KAMBRIX", TextOf(Control(kPrBib)));
  EXPECT_EQ("C", TextOf(Control(kDrBox)));
  EXPECT_EQ("COM2", TextOf(Control(kComport)));
  EXPECT_EQ("19200", TextOf(Control(kBaudrate)));
  EXPECT_EQ("VM04", TextOf(Control(kUserPassw)));
  EXPECT_EQ("12345678", TextOf(Control(kTlfnr)));
  EXPECT_EQ("+CBST=71", TextOf(Control(kModPar)));
  EXPECT_THAT(Entries(Control(kModPar)), ElementsAre("ingen", "+CBST=7", "+CBST=71", "+CBST=71"));
  EXPECT_THAT(Entries(Control(kMSnavn)), ElementsAre("ABC", "KLM", "XYZ"));
  EXPECT_EQ(BST_CHECKED, SendMessageW(Control(kModemCon), BM_GETCHECK, 0, 0));
  for (ControlId id : {kLabel2, kComport, kUserPassw, kDctCon, kLabel5, kTlfnr, kModPar}) {
    EXPECT_TRUE(IsWindowVisible(Control(id))) << id;
  }
  EXPECT_EQ(Control(kInStall), GetFocus());
}

TEST_F(Form, ReducedModeShowsOnlyNameDriveFolderAndStations) {
  fs_.Remove("E:\\cd\\prog\\sarnok.exe");
  Open();
  EXPECT_EQ("VORNEKA installation af DELVIQ", TextOf(form_.Handle()));
  for (const ControlSpec& entry : kControls) {
    EXPECT_EQ(entry.group == Group::kAlways, IsWindowVisible(Control(entry.id)) != FALSE) << entry.name;
  }
}

TEST_F(Form, ConnectionRadioButtonsShowAndHideTheDialGroup) {
  Open();
  Click(kDctCon);
  EXPECT_TRUE(form_.State().DctCon());
  EXPECT_FALSE(IsWindowVisible(Control(kTlfnr)));
  EXPECT_FALSE(IsWindowVisible(Control(kLabel6)));
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(Control(kModemCon), BM_GETCHECK, 0, 0));
  Click(kModemCon);
  EXPECT_TRUE(form_.State().ModemCon());
  EXPECT_TRUE(IsWindowVisible(Control(kModPar)));
  EXPECT_EQ("12345678", TextOf(Control(kTlfnr)));
}

TEST_F(Form, EnterInTheStationBoxAddsTheStationElsewhereItPressesTheFocusedButton) {
  Open();
  Type(StationEdit(), L"abcd");
  EXPECT_EQ("abc", TextOf(StationEdit()));
  Type(StationEdit(), L"\r");
  EXPECT_THAT(Entries(Control(kMSnavn)), ElementsAre("ABC", "KLM", "XYZ"));
  EXPECT_EQ("abc", TextOf(StationEdit()));  // ABC is listed already

  SetWindowTextW(StationEdit(), L"");
  Type(StationEdit(), L"dæf\r");
  EXPECT_THAT(Entries(Control(kMSnavn)), ElementsAre("ABC", "DÆF", "KLM", "XYZ"));
  EXPECT_THAT(form_.State().MSnavn.items, ElementsAre("ABC", "DÆF", "KLM", "XYZ"));
  EXPECT_EQ("", TextOf(StationEdit()));

  Type(StationEdit(), L"\r");
  EXPECT_EQ(4u, form_.State().MSnavn.items.size());
  EXPECT_THAT(dialogs_.shown, IsEmpty());

  // Elsewhere Enter presses the focused push button.
  SetFocus(Control(kButton2));
  Type(Control(kButton2), L"\r");
  EXPECT_FALSE(IsWindow(form_.Handle()));
}

TEST_F(Form, DropDownListsShowAtMostEightEntries) {
  for (char c = 'A'; c < 'J'; ++c) fs_.AddFile("E:\\cd\\config\\" + std::string(3, c) + ".cfg");
  Open();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(Control(kMSnavn), &info);
  SendMessageW(Control(kMSnavn), CB_SHOWDROPDOWN, TRUE, 0);
  RECT list;
  GetClientRect(info.hwndList, &list);
  EXPECT_EQ(8, list.bottom / SendMessageW(Control(kMSnavn), CB_GETITEMHEIGHT, 0, 0));
}

// Minimised: the taskbar button only, not activated, until it is restored.
// A scan error (no line 6 in the system file) waits for the window.
TEST_F(Form, OpensAsTheStartUpShowRequestAsksAndThenShowsAScanError) {
  fs_.AddFile("E:\\cd\\config\\Vestmark.bib", "C:\\KAMBRIX\\\r\nCOM2,19200\r\n\r\n\r\n");
  std::vector<bool> ownerShown;
  dialogs_.meanwhile = [&](HWND owner) { ownerShown.push_back(IsWindowVisible(owner)); };
  form_.Create(SW_SHOWMINNOACTIVE);
  const HWND taskbarWindow = GetWindow(form_.Handle(), GW_OWNER);
  EXPECT_TRUE(IsIconic(taskbarWindow));
  EXPECT_FALSE(IsWindowVisible(form_.Handle()));
  EXPECT_EQ(nullptr, GetActiveWindow());
  EXPECT_THAT(dialogs_.shown, IsEmpty());
  SendMessageW(taskbarWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  TForm1 normal(fs_, shell_, dialogs_, [] {});
  normal.Create(SW_SHOWNORMAL);
  ASSERT_EQ(2u, dialogs_.shown.size());
  EXPECT_EQ(form_.Handle(), dialogs_.shown[0].owner);
  EXPECT_THAT(ownerShown, ElementsAre(true, true));
}

TEST_F(Form, EditsReachTheState) {
  Open();
  SetEdit(kPrBib, "Målinger\\KAMBRIX");
  SetEdit(kUserPassw, "kode");
  SendMessageW(Control(kComport), CB_SETCURSEL, 3, 0);
  SendMessageW(form_.Handle(), WM_COMMAND, MAKEWPARAM(kComport, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Control(kComport)));
  EXPECT_EQ("Målinger\\KAMBRIX", form_.State().PrBib);
  EXPECT_EQ("KODE", form_.State().UserPassw.Text());
  EXPECT_EQ("KODE", TextOf(Control(kUserPassw)));
  EXPECT_EQ("COM4", form_.State().Comport.Selected());
}

TEST_F(Form, CancelAtTheFirstQuestionChangesNothing) {
  Open();
  fs_.ClearJournal();
  dialogs_.answers = {IDCANCEL, IDCANCEL};
  Click(kInStall);
  Click(kInStall);
  ASSERT_EQ(2u, dialogs_.shown.size());
  EXPECT_EQ("Instalation foretages til : C:\\KAMBRIX", dialogs_.shown[0].text);
  EXPECT_EQ("Installation af programmer", dialogs_.shown[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), dialogs_.shown[0].flags);
  // Owned by the window, so that it blocks a second install meanwhile.
  EXPECT_EQ(form_.Handle(), dialogs_.shown[0].owner);
  EXPECT_THAT(fs_.Journal(), IsEmpty());
  EXPECT_FALSE(ended_);
}

TEST_F(Form, InstallWithoutShortcutsEndsWithTheCompletionMessage) {
  Open();
  SetEdit(kPrBib, "C:\\Vest\\");
  dialogs_.answers = {IDOK, IDCANCEL};
  Click(kInStall);
  EXPECT_THAT(dialogs_.Captions(), ElementsAre("Installation af programmer",
                                               "Genveje til KAMBRIX programmer",
                                               "Installation færdig"));
  EXPECT_EQ("Filer er blevet installeret", dialogs_.shown[2].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK), dialogs_.shown[2].flags);
  EXPECT_EQ(form_.Handle(), dialogs_.shown[1].owner);
  EXPECT_TRUE(ended_);
  EXPECT_THAT(shell_.saved, IsEmpty());
  EXPECT_TRUE(fs_.FileContent("C:\\Vest\\Vestmark.bib"));
  EXPECT_TRUE(fs_.FileContent("C:\\Vest\\DATA2004\\0403.dat"));
}

TEST_F(Form, ShortcutsForBothProgramsInFullModeAndOnlyTheGraphProgramInReducedMode) {
  Open();
  dialogs_.answers = {IDOK, IDOK};
  Click(kInStall);
  ASSERT_EQ(2u, shell_.saved.size());
  EXPECT_EQ("C:\\KAMBRIX\\sarnok.exe", shell_.saved[1].target);
  EXPECT_EQ("Vestmark", shell_.saved[1].arguments);

  fs_.AddFile("E:\\reduced\\Install.dat", "delviq.exe\r\n");
  fs_.AddFile("E:\\reduced\\prog\\delviq.exe", "x");
  fs_.SetCurrentDirectory("E:\\reduced");
  platform::MemoryShell shell;
  TForm1 reduced(fs_, shell, dialogs_, [] {});
  reduced.Create(SW_SHOWNORMAL);
  dialogs_.answers = {IDOK, IDOK};
  SendMessageW(reduced.Control(kInStall), BM_CLICK, 0, 0);
  ASSERT_EQ(1u, shell.saved.size());
  EXPECT_EQ("C:\\KAMBRIX\\delviq.exe", shell.saved[0].target);
}

TEST_F(Form, FailedCopiesAreReportedInsteadOfSuccess) {
  Open();
  fs_.AddFile("C:\\KAMBRIX\\delviq.exe", "running");
  fs_.LockFile("C:\\KAMBRIX\\delviq.exe");
  dialogs_.answers = {IDOK, IDCANCEL};
  Click(kInStall);
  ASSERT_EQ(3u, dialogs_.shown.size());
  EXPECT_EQ("Installation færdig", dialogs_.shown[2].caption);
  EXPECT_EQ("Følgende filer kunne ikke installeres:\nC:\\KAMBRIX\\delviq.exe", dialogs_.shown[2].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), dialogs_.shown[2].flags);
  EXPECT_TRUE(ended_);

  std::vector<std::string> many(23, "x");
  EXPECT_THAT(NotInstalledText(many), HasSubstr("\nx\nog 3 andre"));
}

TEST_F(Form, ClosingFromTheTaskbarWhileAQuestionWaitsIsIgnored) {
  Open();
  // As a real box does: the owner is disabled while it waits, and the
  // taskbar button's Close goes to the window that owns the form.
  dialogs_.meanwhile = [this](HWND owner) {
    EnableWindow(owner, FALSE);
    SendMessageW(GetWindow(owner, GW_OWNER), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EnableWindow(owner, TRUE);
  };
  dialogs_.answers = {IDOK, IDOK};
  Click(kInStall);
  ASSERT_EQ(3u, dialogs_.shown.size());
  EXPECT_EQ("Filer er blevet installeret", dialogs_.shown[2].text);
  EXPECT_TRUE(IsWindow(form_.Handle()));
  EXPECT_EQ(form_.Handle(), dialogs_.shown[2].owner);
  EXPECT_EQ(2u, shell_.saved.size());
  EXPECT_TRUE(ended_);
}

TEST_F(Form, RefusedAndMissingInstallations) {
  Open();
  SetEdit(kPrBib, "D:\\");
  Click(kInStall);
  ASSERT_EQ(1u, dialogs_.shown.size());
  EXPECT_EQ("Der er ikke angivet nogen programmappe", dialogs_.shown[0].text);
  EXPECT_EQ("Installation af programmer", dialogs_.shown[0].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONWARNING), dialogs_.shown[0].flags);
  EXPECT_FALSE(ended_);

  fs_.Remove("E:\\cd\\Install.dat");
  TForm1 missing(fs_, shell_, dialogs_, [this] { ended_ = true; });
  missing.Create(SW_SHOWNORMAL);
  SendMessageW(missing.Control(kInStall), BM_CLICK, 0, 0);
  ASSERT_EQ(2u, dialogs_.shown.size());
  EXPECT_EQ("Der mangler installationsoplysninger", dialogs_.shown[1].text);
  EXPECT_EQ("Filen install.dat mangler", dialogs_.shown[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), dialogs_.shown[1].flags);
  EXPECT_TRUE(ended_);
}

TEST_F(Form, ErrorsAreShownInTheErrorBoxAndTheWindowStays) {
  Open();
  SetEdit(kSysNavn, "Vest|mark");
  dialogs_.answers = {IDOK};
  Click(kInStall);
  ASSERT_EQ(2u, dialogs_.shown.size());
  EXPECT_EQ("Cannot create file C:\\KAMBRIX\\Vest|mark.bib.", dialogs_.shown[1].text);
  EXPECT_EQ(ProgramTitle(), dialogs_.shown[1].caption);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), dialogs_.shown[1].flags);
  EXPECT_EQ(form_.Handle(), dialogs_.shown[1].owner);
  EXPECT_FALSE(ended_);
  EXPECT_TRUE(IsWindow(form_.Handle()));

  EXPECT_EQ("List index out of bounds (5)", ErrorBoxText("List index out of bounds (5)"));
  EXPECT_EQ("Unspecified error.", ErrorBoxText("Unspecified error"));
  EXPECT_EQ("Done.", ErrorBoxText("Done."));
  EXPECT_EQ("Setup", TitleFromFileName("SETUP.EXE"));
  EXPECT_EQ("Ødelæg", TitleFromFileName("ØDELÆG.x.exe"));
}

TEST_F(Form, ControlsSitWhereTheTableSaysInTabOrder) {
  Open();
  for (const ControlSpec& entry : kControls) {
    const RECT place = PlaceInClient(Control(entry.id));
    EXPECT_EQ(entry.left, place.left) << entry.name;
    EXPECT_EQ(entry.top, place.top) << entry.name;
    EXPECT_EQ(entry.height, place.bottom - place.top) << entry.name;
    if (entry.kind != Kind::kLabel) {
      EXPECT_EQ(entry.width, place.right - place.left) << entry.name;
    }
  }
  RECT frame;
  GetWindowRect(form_.Handle(), &frame);
  EXPECT_EQ(kWindow.width, frame.right - frame.left);
  EXPECT_EQ(kWindow.height, frame.bottom - frame.top);

  std::vector<std::string> order;
  HWND control = Control(kInStall);
  for (int i = 0; i < 12; ++i) {
    order.push_back(kControls[static_cast<std::size_t>(GetDlgCtrlID(control) - kLabel1)].name);
    control = GetNextDlgTabItem(form_.Handle(), control, FALSE);
  }
  EXPECT_THAT(order, ElementsAre("InStall", "Button2", "PrBib", "UserPassw", "Comport", "Baudrate",
                                 "ModemCon", "Tlfnr", "ModPar", "MSnavn", "SysNavn", "DrBox"));
}

// Copies that take their time, as from a CD.
class SlowCopies : public platform::FileSystem {
 public:
  explicit SlowCopies(platform::FileSystem& inner) : inner_(inner) {}
  std::atomic<int> copies{0};

  std::string CurrentDirectory() override { return inner_.CurrentDirectory(); }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    return inner_.Attributes(path);
  }
  std::vector<platform::DirEntry> Search(const std::string& pattern, platform::SearchFilter filter,
                                         std::size_t maxCount) override {
    return inner_.Search(pattern, filter, maxCount);
  }
  platform::ErrorCode CopyFileOver(const std::string& from, const std::string& to) override {
    ++copies;
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    return inner_.CopyFileOver(from, to);
  }
  platform::ErrorCode CreateFolder(const std::string& path) override { return inner_.CreateFolder(path); }
  int LocalYear() override { return inner_.LocalYear(); }
  platform::ErrorCode ReadWholeFile(const std::string& path, std::string& bytes) override {
    return inner_.ReadWholeFile(path, bytes);
  }
  platform::ErrorCode WriteWholeFile(const std::string& path, std::string_view bytes) override {
    return inner_.WriteWholeFile(path, bytes);
  }

 private:
  platform::FileSystem& inner_;
};

TEST_F(Form, WhileTheCopiesRunTheWindowAnswersButTakesNoInput) {
  SlowCopies slow(fs_);
  bool ended = false;
  TForm1 form(slow, shell_, dialogs_, [&] { ended = true; });
  form.Create(SW_SHOWNORMAL);
  const HWND window = form.Handle();
  const HWND exitButton = form.Control(kButton2);

  std::atomic<bool> answered{false};
  std::thread user([&] {
    while (slow.copies < 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 300, &result) != 0;
    // A click on EXIT and the close box: neither may end the run halfway.
    PostMessageW(exitButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(exitButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  dialogs_.answers = {IDOK, IDCANCEL};
  SendMessageW(form.Control(kInStall), BM_CLICK, 0, 0);
  user.join();

  EXPECT_TRUE(answered) << "the window did not answer while copying";
  EXPECT_GE(slow.copies.load(), 17);
  EXPECT_THAT(dialogs_.Captions(), ElementsAre("Installation af programmer",
                                               "Genveje til KAMBRIX programmer",
                                               "Installation færdig"));
  EXPECT_EQ("Filer er blevet installeret", dialogs_.shown.back().text);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(ended);
}

TEST_F(Form, ButtonsKeepTheirDistanceToTheEdgesTheyAreAnchoredTo) {
  Open();
  const RECT install = PlaceInClient(Control(kInStall));
  const RECT exit = PlaceInClient(Control(kButton2));
  const RECT folder = PlaceInClient(Control(kPrBib));
  SetWindowPos(form_.Handle(), nullptr, 0, 0, kWindow.width + 100, kWindow.height + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(install.left, PlaceInClient(Control(kInStall)).left);
  EXPECT_EQ(install.top + 50, PlaceInClient(Control(kInStall)).top);
  EXPECT_EQ(exit.left + 100, PlaceInClient(Control(kButton2)).left);
  EXPECT_EQ(exit.top + 50, PlaceInClient(Control(kButton2)).top);
  EXPECT_EQ(folder.left, PlaceInClient(Control(kPrBib)).left);
  EXPECT_EQ(folder.top, PlaceInClient(Control(kPrBib)).top);
}

}  // namespace
