// The setup window in this process, under Wine: the real window and
// controls, over the in-memory file system and shell, with the message boxes
// answered from a script.
#include "ui/form.h"

#include <commctrl.h>
#include <gmock/gmock.h>
#include <oleacc.h>

#include <atomic>
#include <set>
#include <thread>

#include "install/install_flow.h"
#include "install/installation.h"
#include "platform/win32/wide.h"
#include "support/held_copies.h"
#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "support/sample_source.h"
#include "support/scripted_dialogs.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace ui;
using test_support::HeldCopies;
using test_support::ScriptedDialogs;

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

// What every window of the program (the taskbar window, the form and the
// windows they own) answers when Windows asks whether the session may end.
BOOL CALLBACK AddWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::set<LRESULT> EndSessionAnswers(HWND form) {
  const HWND taskbarWindow = GetWindow(form, GW_OWNER);
  std::vector<HWND> windows;
  EnumThreadWindows(GetWindowThreadProcessId(form, nullptr), &AddWindow,
                    reinterpret_cast<LPARAM>(&windows));
  std::set<LRESULT> answers;
  int asked = 0;
  for (HWND window : windows) {
    HWND owner = window;
    while (GetWindow(owner, GW_OWNER) != nullptr) owner = GetWindow(owner, GW_OWNER);
    if (owner != taskbarWindow) continue;
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 2000, &answer);
    answers.insert(static_cast<LRESULT>(answer));
    ++asked;
  }
  EXPECT_GE(asked, 3) << "the taskbar window, the form and its tooltips";
  return answers;
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
  // Made once the window is painted: one tool a control with a tooltip, and
  // the edit field of ModPar.
  const HWND tooltips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(nullptr, tooltips);
  EXPECT_EQ(form_.Handle(), GetWindow(tooltips, GW_OWNER));
  EXPECT_EQ(8, SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0));
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

TEST_F(Form, TheDialogueAsksThroughBoxesOwnedByTheWindow) {
  Open();
  const std::string running = "C:\\KAMBRIX\\delviq.exe";
  fs_.AddFile(running, "running");
  fs_.LockFile(running);
  dialogs_.answers = {IDOK, IDCANCEL};
  Click(kInStall);
  fs_.Unlock(running);
  SetEdit(kPrBib, "D:\\");
  Click(kInStall);
  SetEdit(kPrBib, "KAMBRIX");
  dialogs_.answers = {IDCANCEL, IDOK, IDCANCEL};
  Click(kInStall);
  EXPECT_FALSE(ended_);
  Click(kInStall);
  EXPECT_TRUE(ended_);
  fs_.Remove("E:\\cd\\Install.dat");
  Click(kInStall);
  // The first question and the box of files in use, the refusal, the first
  // question twice, the shortcut question, the completion message, the
  // missing install list.
  const UINT expected[] = {MB_OKCANCEL, MB_RETRYCANCEL | MB_ICONWARNING, MB_OK | MB_ICONWARNING,
                           MB_OKCANCEL, MB_OKCANCEL, MB_OKCANCEL, MB_OK, MB_OK | MB_ICONERROR};
  ASSERT_EQ(std::size(expected), dialogs_.shown.size());
  EXPECT_EQ(install::RefusalText(install::Refusal::kNoProgramFolder), dialogs_.shown[2].text);
  for (std::size_t i = 0; i < dialogs_.shown.size(); ++i) {
    EXPECT_EQ(expected[i], dialogs_.shown[i].flags) << i;
    // Owned, so that the window takes no input while a box waits.
    EXPECT_EQ(form_.Handle(), dialogs_.shown[i].owner) << i;
  }
}

TEST_F(Form, ClosingFromTheTaskbarWhileAQuestionWaitsIsIgnored) {
  Open();
  // As a real box does: the owner is disabled while it waits, and the
  // taskbar button's Close goes to the window that owns the form.
  dialogs_.meanwhile = [this](HWND owner) {
    EnableWindow(owner, FALSE);
    SendMessageW(GetWindow(owner, GW_OWNER), WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(Control(kInStall), BM_CLICK, 0, 0);  // no second dialogue inside this one
    Pump();
    EnableWindow(owner, TRUE);
  };
  dialogs_.answers = {IDOK, IDOK};
  Click(kInStall);
  ASSERT_EQ(3u, dialogs_.shown.size());
  EXPECT_EQ(static_cast<UINT>(MB_OK), dialogs_.shown[2].flags);  // the completion message
  EXPECT_TRUE(IsWindow(form_.Handle()));
  EXPECT_EQ(form_.Handle(), dialogs_.shown[2].owner);
  EXPECT_EQ(2u, shell_.saved.size());
  EXPECT_TRUE(ended_);
}

TEST_F(Form, ComingBackThroughTheTaskbarWhileABoxWaitsActivatesTheBox) {
  Open();
  HWND box = nullptr;
  HWND activated = nullptr;
  dialogs_.meanwhile = [&](HWND owner) {
    // As Windows shows a box: owned by the form, which it disables.
    box = CreateWindowExW(0, L"STATIC", L"box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 80,
                          owner, nullptr, nullptr, nullptr);
    EnableWindow(owner, FALSE);
    SetActiveWindow(box);
    SetActiveWindow(GetWindow(owner, GW_OWNER));  // a click on the taskbar button
    activated = GetActiveWindow();
    EnableWindow(owner, TRUE);
    DestroyWindow(box);
  };
  dialogs_.answers = {IDCANCEL};
  Click(kInStall);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(box, activated);
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
  EXPECT_EQ(Control(kInStall), GetFocus());
  EXPECT_TRUE(IsWindowEnabled(GetFocus()));
}

TEST_F(Form, ControlsSitWhereTheTableSays) {
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
}

// Tab, pressed through the event loop, goes from the install button through
// every control shown that takes input, in the window's tab order, and back
// to the install button; of the radio buttons only the set one.
TEST_F(Form, TabVisitsTheControlsShownInTabOrder) {
  const struct {
    bool reduced;
    bool direct;
    std::vector<ControlId> visits;
  } cases[] = {
      {false, false, {kInStall, kButton2, kPrBib, kUserPassw, kComport, kBaudrate, kModemCon, kTlfnr, kModPar,
                      kMSnavn, kSysNavn, kDrBox, kInStall}},
      {false, true, {kInStall, kButton2, kPrBib, kUserPassw, kComport, kBaudrate, kDctCon, kMSnavn, kSysNavn,
                     kDrBox, kInStall}},
      {true, false, {kInStall, kButton2, kPrBib, kMSnavn, kSysNavn, kDrBox, kInStall}},
  };
  for (const auto& row : cases) {
    if (row.reduced) fs_.Remove("E:\\cd\\prog\\sarnok.exe");
    TForm1 form(fs_, shell_, dialogs_, [] {});
    form.Create(SW_SHOWNORMAL);
    if (row.direct) SendMessageW(form.Control(kDctCon), BM_CLICK, 0, 0);
    SetFocus(form.Control(kInStall));
    std::vector<ControlId> visited;
    while (visited.size() < row.visits.size()) {
      HWND focus = GetFocus();
      if (GetParent(focus) != form.Handle()) focus = GetParent(focus);  // a combo box's edit field
      visited.push_back(static_cast<ControlId>(GetDlgCtrlID(focus)));
      MSG tab{};
      tab.hwnd = GetFocus();
      tab.message = WM_KEYDOWN;
      tab.wParam = VK_TAB;
      if (!form.PreTranslateMessage(tab)) break;
    }
    EXPECT_EQ(row.visits, visited) << "reduced " << row.reduced << ", direct " << row.direct;
  }
}

// A screen reader names a field by the window just before it: its label, in
// both modes. Wine's oleacc names edit boxes that way, as Windows' does.
TEST_F(Form, EachFieldFollowsTheLabelThatNamesItInTheWindowOrder) {
  const std::pair<ControlId, ControlId> labelled[] = {
      {kLSysNvn, kSysNavn}, {kLabel9, kDrBox},  {kLabel1, kPrBib},
      {kLabel2, kComport},  {kLabel3, kBaudrate}, {kLabel4, kUserPassw},
      {kLabel5, kTlfnr},    {kLabel6, kModPar}, {kLabel7, kMSnavn}};
  Open();
  fs_.Remove("E:\\cd\\prog\\sarnok.exe");
  TForm1 reduced(fs_, shell_, dialogs_, [] {});
  reduced.Create(SW_SHOWNORMAL);
  for (const TForm1* form : {&form_, &reduced}) {
    for (const auto& [label, field] : labelled) {
      EXPECT_EQ(form->Control(label), GetWindow(form->Control(field), GW_HWNDPREV))
          << kControls[static_cast<std::size_t>(field - kLabel1)].name;
    }
  }
  // The arrow keys still move between the two radio buttons only.
  EXPECT_EQ(Control(kModemCon), GetNextDlgGroupItem(form_.Handle(), Control(kDctCon), FALSE));

  for (const auto& [label, field] : labelled) {
    if (kControls[static_cast<std::size_t>(field - kLabel1)].kind != Kind::kEdit) continue;
    IAccessible* accessible = nullptr;
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(Control(field), static_cast<DWORD>(OBJID_CLIENT),
                                               __uuidof(IAccessible), reinterpret_cast<void**>(&accessible)));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, accessible->get_accName(self, &name));
    EXPECT_EQ(TextOf(Control(label)), platform::Narrow(name != nullptr ? name : L""));
    SysFreeString(name);
    accessible->Release();
  }
}

// A message of the test's own, posted after others: once the window has
// dispatched it, it has dispatched those too, and it signals the event given.
constexpr UINT kPassed = WM_APP + 78;

LRESULT CALLBACK SignalPassed(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
  if (message != kPassed) return DefSubclassProc(hwnd, message, wParam, lParam);
  SetEvent(reinterpret_cast<HANDLE>(data));
  return 0;
}

TEST_F(Form, WhileTheCopiesRunTheWindowAnswersButNothingStartsOrChanges) {
  HeldCopies held(fs_);
  held.HoldFrom(3);  // the copies are under way while the user acts
  bool ended = false;
  TForm1 form(held, shell_, dialogs_, [&] { ended = true; });
  form.Create(SW_SHOWNORMAL);
  const HWND window = form.Handle();
  const HWND exitButton = form.Control(kButton2);
  const HANDLE passed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetWindowSubclass(window, &SignalPassed, 1, reinterpret_cast<DWORD_PTR>(passed));

  // The end of the session is held up only while the files are written.
  const std::set<LRESULT> yes = {TRUE};
  EXPECT_EQ(yes, EndSessionAnswers(window));
  std::vector<std::set<LRESULT>> answersAtBoxes;
  std::string shownAtTheEnd;
  dialogs_.meanwhile = [&](HWND) {
    answersAtBoxes.push_back(EndSessionAnswers(window));
    const HWND radio = form.Control(kDctCon);
    shownAtTheEnd = TextOf(form.Control(kSysNavn)) + TextOf(form.Control(kComport)) +
                    std::to_string(SendMessageW(radio, BM_GETCHECK, 0, 0)) +
                    std::to_string(IsWindowEnabled(radio));
  };
  std::set<LRESULT> answersWhileCopying;

  std::atomic<bool> answered{false};
  std::atomic<bool> dispatched{false};
  std::thread user([&] {
    EXPECT_TRUE(held.WaitForCopies(3));
    DWORD_PTR result = 0;
    answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result) != 0;
    answersWhileCopying = EndSessionAnswers(window);
    // A click on EXIT and the close box: neither may end the run halfway.
    PostMessageW(exitButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(exitButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(window, kPassed, 0, 0);
    // What a screen reader or an automation tool sends.
    SendMessageW(form.Control(kInStall), BM_CLICK, 0, 0);
    SendMessageW(form.Control(kSysNavn), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Andet"));
    // Controls that are disabled still take these.
    SendMessageW(form.Control(kDctCon), BM_CLICK, 0, 0);
    SendMessageW(form.Control(kComport), CB_SETCURSEL, 0, 0);
    dispatched = WaitForSingleObject(passed, 60000) == WAIT_OBJECT_0;
    held.Open();
  });
  dialogs_.answers = {IDOK, IDCANCEL};
  SendMessageW(form.Control(kInStall), BM_CLICK, 0, 0);
  user.join();
  CloseHandle(passed);

  EXPECT_TRUE(answered) << "the window did not answer while copying";
  EXPECT_TRUE(dispatched) << "the window dispatched no posted message while copying";
  EXPECT_EQ(std::set<LRESULT>{FALSE}, answersWhileCopying);
  EXPECT_THAT(answersAtBoxes, ElementsAre(yes, yes, yes));
  EXPECT_GE(held.Finished(), 17);
  ASSERT_EQ(3u, dialogs_.shown.size());
  EXPECT_EQ(static_cast<UINT>(MB_OK), dialogs_.shown.back().flags);  // the completion message
  EXPECT_TRUE(fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib"));
  EXPECT_FALSE(fs_.FileContent("C:\\KAMBRIX\\Andet.bib"));
  EXPECT_EQ("VestmarkCOM200", shownAtTheEnd);  // at the completion message: unchanged, disabled
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(ended);
}

// Ended anyway (a forced log-off), the session stops the copies before their
// next file, waits for the one under way, and no system file is written.
TEST_F(Form, ASessionThatEndsStopsTheCopiesAndWritesNoSystemFile) {
  HeldCopies held(fs_);
  held.HoldFrom(3);  // under way as the session ends
  bool ended = false;
  TForm1 form(held, shell_, dialogs_, [&] { ended = true; });
  form.Create(SW_SHOWNORMAL);
  const HWND taskbarWindow = GetWindow(form.Handle(), GW_OWNER);
  int underWay = -1;
  std::thread session([&] {
    EXPECT_TRUE(held.WaitForCopies(3));
    SendMessageW(taskbarWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    underWay = held.Copies() - held.Finished();
  });
  // Once the session's end reached it, the window answers no more while it
  // waits for the copy under way: that copy then ends.
  std::thread copy([&] {
    EXPECT_TRUE(held.WaitForCopies(3));
    const ULONGLONG giveUp = GetTickCount64() + 60000;
    DWORD_PTR result = 0;
    while (SendMessageTimeoutW(taskbarWindow, WM_NULL, 0, 0, SMTO_BLOCK, 200, &result) != 0 &&
           GetTickCount64() < giveUp) {
    }
    held.Open();
  });
  dialogs_.answers = {IDOK};
  SendMessageW(form.Control(kInStall), BM_CLICK, 0, 0);
  session.join();
  copy.join();
  EXPECT_EQ(0, underWay);
  EXPECT_EQ(3, held.Copies());  // none after the one under way
  EXPECT_FALSE(fs_.FileContent("C:\\KAMBRIX\\Vestmark.bib"));
  EXPECT_EQ(1u, dialogs_.shown.size());  // the first question alone
  EXPECT_TRUE(ended);
}

// Holds the window thread in a message of the test's own until 3,000 copies
// are done, then counts the posted messages waiting in its queue.
constexpr UINT kHold = WM_APP + 77;
int waitingWhenHeld = -1;

LRESULT CALLBACK HoldWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR data) {
  if (message != kHold) return DefSubclassProc(hwnd, message, wParam, lParam);
  auto* held = reinterpret_cast<HeldCopies*>(data);
  held->Open();
  held->WaitForCopies(3000);
  std::vector<MSG> queued(1);
  while (PeekMessageW(&queued.back(), nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) queued.emplace_back();
  queued.pop_back();
  for (const MSG& again : queued) PostMessageW(again.hwnd, again.message, again.wParam, again.lParam);
  waitingWhenHeld = static_cast<int>(queued.size());
  return 0;
}

TEST_F(Form, CopiesThatFinishWhileTheWindowIsHeldUpQueueNoMessagesAndTheirEndArrives) {
  std::string lines;
  for (int i = 0; i < 3000; ++i) lines += "p" + std::to_string(i) + ".exe\r\n";
  fs_.AddFile("E:\\cd\\Install.dat", lines);
  HeldCopies held(fs_);
  held.HoldFrom(1);  // until the window is held up
  TForm1 form(held, shell_, dialogs_, [] {});
  form.Create(SW_SHOWNORMAL);
  SetWindowSubclass(form.Handle(), &HoldWindow, 1, reinterpret_cast<DWORD_PTR>(&held));
  std::thread holder([&] {
    EXPECT_TRUE(held.WaitForCopies(1));
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form.Handle(), kHold, 0, 0, SMTO_BLOCK, 120000, &result);
  });
  dialogs_.answers = {IDOK, IDCANCEL};
  SendMessageW(form.Control(kInStall), BM_CLICK, 0, 0);
  holder.join();
  EXPECT_GE(held.Copies(), 3000);
  EXPECT_THAT(waitingWhenHeld, testing::AllOf(testing::Ge(0), testing::Le(3)))
      << "-1: the window was not held up";
  EXPECT_EQ(static_cast<UINT>(MB_OK), dialogs_.shown.back().flags);  // the completion message
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
