// The whole install dialogue, from the scan to the last box, on a random
// distribution with random answers and random faults: unreadable and denied
// source files and folders, the disc taken out after some copies, target
// folders that cannot be made, a full or write-protected target drive,
// read-only, hidden, system and open target files (the program that holds
// one let go, or not, at each Retry), an earlier installation with the
// site's own measurements, links in the target, a file where the year
// folder belongs. After every run it checks what the technician is told
// against what the target holds:
// - the end box is the success message only when every file the confirmed
//   plan names, whose source exists, is in the target with the source's bytes
//   and the year folder exists;
// - every path listed as failed is really missing or different in the target,
//   and one the distribution lacks is listed only when its folder could not
//   be read;
// - nothing is written outside the target folder (and the folders on its
//   way), and a file in the target that the plan does not name is unchanged;
// - the system file is whole or as it was, never cut short;
// - every file that was in the target is as it was or a copy of its source,
//   and a sample-data file as it was; no name is new there that the plan
//   does not make (no temporary file is left);
// - a folder of the plan that is a link refuses the installation.
// Other installations, drives with little room (or filled by another
// program during the copies), FAT's answers to renames, read-only files a
// program holds and Windows without the Restart Manager come on top. And the
// machine may stop at any call of the file system (a power cut, or the
// program killed): then every file that was in the target is as it was or a
// copy of its source, never cut short nor zeros; a second installation
// without faults (which must finish the samples a stopped run left short)
// then leaves the machine exactly as one installation without faults leaves
// it, with the same end box: nothing of the stopped run is left.
//
// Each input byte makes one choice, in the order the code below asks; a byte
// of 0, or the end of the input, is the plain choice, so that an empty input
// is an installation without faults.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "install/install_flow.h"
#include "install/installation.h"
#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "support/scripted_questions.h"
#include "platform/shell.h"
#include "setup/names.h"
#include "setup/setup_error.h"
#include "setup/setup_state.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace {

constexpr char kSource[] = "E:\\cd\\";
constexpr char kDoneCaption[] = "Installation færdig";
constexpr char kSuccess[] = "Filer er blevet installeret";
constexpr char kListHeader[] = "Følgende filer kunne ikke installeres:";
constexpr char kUnspellable[] = "b\xEF\xBF\xBD.png";  // listed with U+FFFD

class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  unsigned Below(unsigned count) { return Byte() % count; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// The room the files on drive `letter` take.
std::size_t Used(const platform::MemoryFileSystem& fs, char letter) {
  std::size_t used = 0;
  const std::string root = std::string(1, letter) + ":\\";
  for (const auto& relative : fs.Tree(root)) {
    used += fs.FileContent(root + relative).value_or("").size();
  }
  return used;
}

// The boxes with the end caption, each as "<kind>\n<text>".
std::vector<std::string> EndBoxes(const test_support::ScriptedQuestions& boxes) {
  const std::string caption = std::string(" ") + kDoneCaption + ": ";
  std::vector<std::string> end;
  for (const std::string& box : boxes.shown) {
    const std::size_t at = box.find(caption);
    if (at != std::string::npos && at == box.find(' ')) {
      end.push_back(box.substr(0, at) + "\n" + box.substr(at + caption.size()));
    }
  }
  return end;
}

// One copy the plan asks for, built as the table of the installation has it:
// written out here again on purpose, so that the oracle does not call the
// table (InstallPlan::Copies) it checks.
struct Planned {
  std::string joined;  // the name as it is joined to both folders
  std::string source;
  std::string target;
  bool sample = false;  // sample data: never in place of a file
};

std::vector<Planned> PlannedCopies(const install::InstallPlan& plan,
                                   const setup::SetupState& state) {
  std::vector<Planned> copies;
  const std::string target = plan.Target + "\\";
  const auto add = [&](const std::string& from, const std::string& to, const std::string& name) {
    copies.push_back({name, plan.SrcDir + from + name, target + to + name});
  };
  for (const auto& line : state.InstFiles.Lines()) add("prog\\", "", line);
  for (const auto& station : state.MSnavn.items) add("config\\", "", station + ".cfg");
  for (const auto& name : state.RunFiles.Lines()) add("config\\", "", name);
  for (const auto& station : state.HtmlNames.Lines()) {
    add("config\\MSinfo\\", "MSinfo\\", station + ".html");
  }
  for (const auto& name : state.PicFiles.Lines()) {
    add("config\\MSinfo\\pic\\", "MSinfo\\pic\\", name);
  }
  if (!state.BmpName.empty()) add("config\\", "", state.BmpName);
  if (!state.DataSubDir.empty()) {
    for (const auto& name : state.DataFiles.Lines()) {
      add("", "", state.DataSubDir + "\\" + name);
      copies.back().sample = true;
    }
  }
  return copies;
}

// A file's bytes in a snapshot; nullopt for a folder, a missing path or one
// that names no place.
std::optional<std::string> Content(const fuzz::Snapshot& snapshot, const std::string& path) {
  const auto key = fuzz::Resolved(path);
  if (!key) return std::nullopt;
  const auto it = snapshot.find(*key);
  return it == snapshot.end() ? std::nullopt : it->second;
}

bool IsFileIn(const fuzz::Snapshot& snapshot, const std::string& path) {
  const auto key = fuzz::Resolved(path);
  return key && snapshot.count(*key) != 0 && snapshot.at(*key);
}

bool IsFolderIn(const fuzz::Snapshot& snapshot, const std::string& path) {
  const auto key = fuzz::Resolved(path);
  return key && snapshot.count(*key) != 0 && !snapshot.at(*key);
}

// An earlier file in the target: none, plain, read-only, hidden, system, or
// held open by a running program.
void EarlierFile(unsigned choice, platform::MemoryFileSystem& fs, const std::string& path,
                 const std::string& bytes, std::vector<std::string>& held) {
  const std::uint32_t attributes[] = {0, platform::kAttrArchive, platform::kAttrReadOnly,
                                      platform::kAttrHidden, platform::kAttrSystem,
                                      platform::kAttrArchive};
  if (choice > 0) fs.AddFile(path, bytes, attributes[choice]);
  if (choice == 5) {
    fs.LockFile(path, "KAMBRIX opsamling");
    held.push_back(path);
  }
}

// The distribution on E:\cd, and the Install.dat lines that the input picks.
void MakeSource(Choices& in, platform::MemoryFileSystem& fs) {
  const std::string src = kSource;
  std::string list;
  for (const char* name : {"sarnok.exe", "delviq.exe", "kbxfelt.dll", "sub\\tool.exe", "LAESMIG.TXT"}) {
    const unsigned byte = in.Byte();
    const unsigned choice = byte % 4;  // listed and there, listed only, there only, read-only
    if (choice != 1) {
      fs.AddFile(src + "prog\\" + name, std::string(name) + char('0' + byte / 4 % 10),
                 choice == 3 ? platform::kAttrReadOnly : platform::kAttrArchive);
    }
    if (choice != 2) list += std::string(name) + "\r\n";
  }
  fs.AddFolder(src + "prog\\folder");
  for (const char* line : {"", "folder", "mangler.exe", "..\\config\\ABC.cfg"}) {
    if (in.Below(2) == 1) list += std::string(line) + "\r\n";
  }
  switch (in.Below(3)) {
    case 0: fs.AddFile(src + "Install.dat", list); break;
    case 1: break;
    default: fs.AddFile(src + "Install.dat", list); fs.LockFile(src + "Install.dat");
  }
  switch (in.Below(3)) {
    case 0:
      fs.AddFile(src + "config\\Vestmark.bib",
                 "C:\\KAMBRIX\\DATA2004\\\r\nCOM2,19200\r\nvm04\r\nI12345678,+CBST=71\r\n"
                 "04001\r\nbåd\r\nABC\r\n");
      break;
    case 1: break;
    default: fs.AddFile(src + "config\\Vestmark.bib", "C:\\KAMBRIX\\DATA2004\\\r\n");
  }
  for (const char* station : {"ABC", "KLM", "XYZ"}) {
    const unsigned choice = in.Below(3);  // with its page, without, none
    if (choice != 2) fs.AddFile(src + "config\\" + station + ".cfg", station);
    if (choice == 0) fs.AddFile(src + "config\\MSinfo\\" + station + ".html", "<p>");
  }
  if (in.Below(2) == 0) fs.AddFile(src + "config\\maaling.run", "run");
  const unsigned pictures = in.Below(4);
  if (pictures != 1 && pictures != 3) fs.AddFile(src + "config\\MSinfo\\pic\\abc1.png", "png");
  if (pictures >= 2) fs.AddFile(src + "config\\MSinfo\\pic\\" + kUnspellable, "bad name");
  if (in.Below(2) == 0) fs.AddFile(src + "config\\logo.bmp", "bmp");
  switch (in.Below(3)) {
    case 0:
      fs.AddFile(src + "DATA2004\\0401.dat", "d1");
      fs.AddFile(src + "DATA2004\\0402.dat", "d2");
      break;
    case 1: break;
    default: fs.AddFile(src + "DATA2004", "not a folder");
  }
}

// Folders whose listing the faults took away; a file missing in one of them
// cannot be told from one the disc lost.
struct SourceFaults {
  std::vector<std::string> denied;  // resolved paths
};

void BreakSource(Choices& in, platform::MemoryFileSystem& fs, bool targetOnTheDisc,
                 SourceFaults& faults) {
  std::vector<std::string> files;
  for (const auto& relative : fs.Tree(kSource)) {
    if (fs.FileContent(kSource + relative)) files.push_back(kSource + relative);
  }
  const auto pick = [&]() -> const std::string* {
    const unsigned index = in.Below(static_cast<unsigned>(files.size()) + 1);
    return index == 0 ? nullptr : &files[index - 1];
  };
  const std::string* const unreadable = pick();
  const std::string* const denied = pick();
  const std::string* const open = pick();
  if (unreadable != nullptr) fs.SetReadError(*unreadable);
  if (denied != nullptr) fs.Deny(*denied);
  if (open != nullptr) fs.LockFile(*open);
  const char* const folders[] = {"prog", "config", "config\\MSinfo", "config\\MSinfo\\pic",
                                 "DATA2004", ""};
  const unsigned deniedFolder = in.Below(7);
  if (deniedFolder > 0 && fs.IsFolder(kSource + std::string(folders[deniedFolder - 1]))) {
    fs.Deny(kSource + std::string(folders[deniedFolder - 1]));
    faults.denied.push_back(*fuzz::Resolved(kSource + std::string(folders[deniedFolder - 1])));
  }
  const unsigned removed = in.Below(4);
  if (removed > 0) fs.Remove(kSource + std::string(folders[removed == 1 ? 0 : removed + 1]));
  const unsigned copies = in.Byte();
  if (copies > 0 && !targetOnTheDisc) fs.TakeOutAfter('E', copies - 1);
}

// Earlier files in the target and faults of the target drive, none where the
// target is refused.
void PrepareTarget(Choices& in, platform::MemoryFileSystem& fs, const setup::SetupState& state,
                   const std::string& target, bool refused, std::vector<std::string>& held) {
  const unsigned earlier[] = {in.Below(6), in.Below(6), in.Below(6)};
  const unsigned installed = in.Byte();  // which files an earlier installation left
  const unsigned link = in.Below(5);
  const unsigned block = in.Below(6);
  const bool sub = in.Below(2) == 0;
  const unsigned room = in.Byte();
  const bool readOnly = in.Below(8) == 1;
  if (refused) return;
  const std::string t = target + "\\";
  const std::string year = "DATA" + std::to_string(fs.LocalYear());
  if (fuzz::Resolved(target)) {  // "KAMBRIX\a|b" names no place
    fs.AddFile(t + "keep.txt", "kept");
    const char* const left[] = {"sarnok.exe", "kbxfelt.dll", "maaling.run", "MSinfo\\ABC.html",
                                "MSinfo\\pic\\abc1.png", "logo.bmp", "DATA2004\\0401.dat",
                                "DATA2004\\0402.dat"};
    for (unsigned i = 0; i < 8; ++i) {
      if ((installed >> i & 1) != 0) fs.AddFile(t + left[i], std::string("earlier ") + left[i]);
    }
    EarlierFile(earlier[0], fs, t + "delviq.exe", "old program", held);
    EarlierFile(earlier[1], fs, t + "ABC.cfg", "old station", held);
    EarlierFile(earlier[2], fs, t + state.SysNavn + ".bib", "old system file\r\n", held);
    const char* const blocked[] = {year.c_str(), "MSinfo", "MSinfo\\pic", "DATA2004"};
    if (block >= 1 && block <= 4) fs.AddFile(t + blocked[block - 1], "in the way");
    if (block == 5) {
      fs.Remove(target);
      fs.AddFile(target, "in the way");
    }
    if (sub && fs.IsFolder(target)) fs.AddFolder(t + "sub");
    // A junction or link that leads out of the target.
    fs.AddFile("C:\\Windows\\win.ini", "system");
    const char* const links[] = {"MSinfo", "DATA2004", "delviq.exe", ""};
    if (link > 0 && *links[link - 1] != '\0' && fs.IsFolder(target)) {
      fs.Remove(t + links[link - 1]);
      const bool folder = link != 3;
      fs.AddLink(t + links[link - 1], folder ? "C:\\Windows" : "C:\\Windows\\win.ini", folder);
    }
  }
  const char drive = target[0];
  if (room > 0) fs.SetDriveCapacity(drive, Used(fs, drive) + (room - 1) * 12);
  if (readOnly) fs.SetReadOnlyDrive(drive);
}

// Whether a missing source could have been told apart from a lost one: its
// folder can still be read.
bool Readable(platform::MemoryFileSystem& fs, const SourceFaults& faults, const std::string& folder) {
  const auto resolved = fuzz::Resolved(folder);
  if (!resolved || !platform::FolderExists(fs, folder)) return false;
  for (const auto& denied : faults.denied) {
    if (fuzz::IsUnder(*resolved, denied)) return false;
  }
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

// Whether `path` (resolved) is a temporary file or folder of an installation
// in the target, or lies in one.
bool IsLeftover(const std::string& path, const std::string& target) {
  if (!fuzz::IsUnder(path, target) || path.size() <= target.size() + 1) return false;
  const std::string rest = path.substr(target.size() + 1);
  const std::string first = rest.substr(0, rest.find('\\'));
  std::string name;
  for (const char c : first) name += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return install::IsTempFolderName(name) || install::IsWholeWriteTempName(name);
}

// What the technician chooses in the window, the same in every run of one
// input.
struct Chosen {
  bool newStation = false;
  int drive = 0;
  const char* folder = nullptr;
  int year = 2005;
};

setup::SetupState Scanned(platform::MemoryFileSystem& fs, const Chosen& chosen) {
  setup::SetupState state;
  try {
    setup::SystemSetup(state, fs).ScanSource();
  } catch (const setup::SetupError&) {
    // Shown by the window; the scan has done all it could.
  }
  if (chosen.newStation) state.MSnavn.Insert("NEW");
  state.DrBox.selected =
      chosen.drive < static_cast<int>(state.DrBox.items.size()) ? chosen.drive : -1;
  if (chosen.folder != nullptr) state.PrBib = chosen.folder;
  return state;
}

// One machine as the input makes it, up to the install button.
struct Scene {
  platform::MemoryFileSystem fs;
  setup::SetupState state;
  Chosen chosen;
  SourceFaults faults;
  std::vector<std::string> held;
  std::string target;
  bool confirmInstall = true;
  bool confirmShortcuts = true;
  bool fat = false;
  bool heldReadOnly = false;  // the held files are read-only too
};

// What the boxes are answered, beyond the scene's two questions: at each
// Retry, from the input, Cancel (also once the input is used up), or the
// program holding `held` closed, the other installation ended and room made
// on the target's drive, or none of it; and, once the writing begins, the
// target's drive filled by another program to (fill - 1) * 3 bytes more.
struct Answers {
  std::vector<std::string> held;
  unsigned fill = 0;
};

void AnswerFrom(Choices& in, Scene& scene, const Answers& answers,
                test_support::ScriptedQuestions& boxes) {
  platform::MemoryFileSystem& fs = scene.fs;
  const char drive = scene.target[0];
  boxes.answer = [&in, &fs, &scene, answers, drive](const std::string& box) {
    if (box.rfind("confirm Installation af programmer: ", 0) == 0) return scene.confirmInstall;
    if (box.rfind("confirm Genveje til KAMBRIX programmer: ", 0) == 0) {
      return scene.confirmShortcuts;
    }
    if (box.rfind("retry ", 0) != 0) fuzz::Fail("only the two questions are asked", box);
    switch (in.Below(3)) {
      case 0: return false;
      case 1:
        for (const auto& path : answers.held) fs.Unlock(path);
        fs.SetOtherInstallation(false);
        fs.SetDriveCapacity(drive, std::size_t{1} << 40);
        return true;
      default: return true;
    }
  };
  boxes.atBegin = [&fs, answers, drive] {
    if (answers.fill > 0) fs.SetDriveCapacity(drive, Used(fs, drive) + (answers.fill - 1) * 3);
  };
}

void MakeScene(Choices& in, Scene& scene) {
  platform::MemoryFileSystem& fs = scene.fs;
  fs.AddDrive('C');
  fs.AddDrive('D');
  MakeSource(in, fs);
  fs.SetCurrentDirectory(kSource);
  scene.chosen.newStation = in.Below(2) == 1;
  scene.chosen.drive = static_cast<int>(in.Below(4));
  const char* const folders[] = {nullptr, "C:\\KAMBRIX\\", "Prog\\KAMBRIX", "KAMBRIX\\a|b", "D:\\", ""};
  scene.chosen.folder = folders[in.Below(6)];
  scene.chosen.year = in.Below(2) == 0 ? 2005 : 2004;
  scene.state = Scanned(fs, scene.chosen);
  fs.SetYear(scene.chosen.year);

  platform::MemoryShell shell;
  const install::Installation installation(scene.state, fs, shell);
  scene.target = installation.TargetFolder();
  PrepareTarget(in, fs, scene.state, scene.target,
                installation.CheckTarget() != install::Refusal::kNone, scene.held);
  BreakSource(in, fs, scene.target[0] == 'E', scene.faults);
  scene.confirmInstall = in.Below(4) != 1;
  scene.confirmShortcuts = in.Below(2) == 0;
}

// The faults that came later than the rest, each a byte of its own, and a
// FAT drive; the number of calls until the machine stops, and how.
void LaterFaults(Choices& in, Scene& scene, Answers& answers) {
  platform::MemoryFileSystem& fs = scene.fs;
  const unsigned stop = in.Byte() | in.Byte() << 8;
  fs.SetOtherInstallation(in.Below(2) == 1);
  fs.SetRestartManager(in.Below(2) == 0);
  scene.fat = in.Below(2) == 1;
  if (scene.fat) fs.SetFat(scene.target[0]);
  answers.fill = in.Byte();
  // Programs copied by hand from the CD keep its read-only attribute.
  scene.heldReadOnly = in.Below(2) == 1;
  for (const auto& path : scene.heldReadOnly ? scene.held : std::vector<std::string>{}) {
    fs.SetAttributes(path, platform::kAttrReadOnly);
  }
  if (stop > 0) {
    fs.StopAfter(stop >> 1, (stop & 1) != 0 ? platform::MemoryFileSystem::Stop::kKill
                                            : platform::MemoryFileSystem::Stop::kPowerCut);
  }
}

// How one run of the dialogue ended.
struct Run {
  fuzz::Snapshot before;
  fuzz::Snapshot after;
  bool raised = false;   // the error box, and no end box
  bool stopped = false;  // the machine stopped: no box at all
};

Run RunDialogue(Scene& scene, setup::SetupState& state, test_support::ScriptedQuestions& boxes) {
  Run run;
  platform::MemoryShell shell;
  run.before = fuzz::TakeSnapshot(scene.fs);
  try {
    install::InstallDialogue(state, scene.fs, shell, boxes);
  } catch (const setup::SetupError&) {
    run.raised = true;
  } catch (const platform::MemoryFileSystem::Stopped&) {
    run.stopped = true;
  } catch (const std::exception& error) {
    fuzz::Fail("only the system's errors are raised", error.what());
  }
  scene.fs.StopAfter(0, platform::MemoryFileSystem::Stop::kKill);  // not in the checks
  run.after = fuzz::TakeSnapshot(scene.fs);
  return run;
}

// What the technician is told against what the target holds.
void Check(Scene& scene, const setup::SetupState& state,
           const test_support::ScriptedQuestions& boxes, const Run& run) {
  platform::MemoryFileSystem& fs = scene.fs;
  const std::vector<std::string> endBoxes = EndBoxes(boxes);
  const fuzz::Snapshot& before = run.before;
  const fuzz::Snapshot& after = run.after;
  const std::string& target = scene.target;
  const bool raised = run.raised || run.stopped;
  if (!boxes.copiesRan) {
    if (!fuzz::Changes(before, after).empty()) {
      fuzz::Fail("nothing is written before the copies", fuzz::Changes(before, after).front());
    }
    if (!endBoxes.empty()) fuzz::Fail("no end box without the copies", endBoxes.front());
    return;
  }
  if (!run.stopped && !boxes.faults.empty()) {
    fuzz::Fail("the copies run while the writing is told and count every step", boxes.faults[0]);
  }
  if (endBoxes.size() != (raised ? 0u : 1u)) {
    fuzz::Fail("one end box, unless an error ended the dialogue", "target " + target);
  }

  // Nothing outside the target, but the folders on its way, and the disc that
  // was taken out.
  const auto resolvedTarget = fuzz::Resolved(target);
  std::set<std::string> onTheWay;
  for (std::size_t slash = target.find('\\'); slash != std::string::npos;
       slash = target.find('\\', slash + 1)) {
    if (const auto folder = fuzz::Resolved(target.substr(0, slash))) onTheWay.insert(*folder);
  }
  const bool discGone = !fs.IsFolder("E:\\");
  for (const std::string& changed : fuzz::Changes(before, after)) {
    if (discGone && changed[0] == 'E') continue;
    const bool inTarget = resolvedTarget && fuzz::IsUnder(changed, *resolvedTarget);
    const bool madeOnTheWay = onTheWay.count(changed) != 0 && before.count(changed) == 0 &&
                              after.count(changed) != 0 && !after.at(changed);
    if (!inTarget && !madeOnTheWay) fuzz::Fail("nothing changes outside the target", changed);
  }

  platform::MemoryShell shell;
  setup::SetupState planned = state;
  const install::InstallPlan plan = install::Installation(planned, fs, shell).Plan();
  const std::vector<Planned> copies = PlannedCopies(plan, planned);
  const std::string systemFile = plan.Target + "\\" + state.SysNavn + ".bib";
  std::set<std::string> named;
  for (const Planned& copy : copies) {
    if (const auto key = fuzz::Resolved(copy.target)) named.insert(*key);
  }
  if (const auto key = fuzz::Resolved(systemFile)) named.insert(*key);
  for (const auto& [path, content] : before) {
    if (content && resolvedTarget && fuzz::IsUnder(path, *resolvedTarget) && named.count(path) == 0 &&
        (after.count(path) == 0 || after.at(path) != content)) {
      fuzz::Fail("a file the plan does not name is unchanged", path);
    }
  }
  // The folders the installation makes; none of them may lead elsewhere.
  const std::string year = "DATA" + std::to_string(plan.Year);
  std::vector<std::string> made = {plan.Target, plan.Target + "\\MSinfo",
                                   plan.Target + "\\MSinfo\\pic", plan.Target + "\\" + year};
  if (!plan.DataSubDir.empty()) made.push_back(plan.Target + "\\" + plan.DataSubDir);
  for (const std::string& folder : made) {
    const auto info = fs.Info(folder);
    if (info && (info->attributes & platform::kAttrReparsePoint) != 0) {
      fuzz::Fail("a folder of the plan that is a link refuses the installation", folder);
    }
    if (const auto key = fuzz::Resolved(folder)) named.insert(*key);
  }
  for (const auto& entry : after) {
    if (resolvedTarget && fuzz::IsUnder(entry.first, *resolvedTarget) &&
        before.count(entry.first) == 0 && named.count(entry.first) == 0 &&
        !(run.stopped && IsLeftover(entry.first, *resolvedTarget))) {
      fuzz::Fail("no name is new in the target that the plan does not make", entry.first);
    }
  }
  // An earlier file is as it was or a copy of its source; the site's own
  // measurements are as they were.
  const auto systemKey = fuzz::Resolved(systemFile);
  for (const Planned& copy : copies) {
    const auto key = fuzz::Resolved(copy.target);
    if (!key || key == systemKey || before.count(*key) == 0 || !before.at(*key)) continue;
    const auto now = Content(after, copy.target);
    if (now != before.at(*key) && (copy.sample || now != Content(before, copy.source))) {
      fuzz::Fail("an earlier file is as it was or a copy of its source", copy.target);
    }
  }

  // The system file: the writer's whole text, or as it was before.
  std::optional<std::string> whole;
  if (fuzz::Resolved(plan.Target)) {
    platform::MemoryFileSystem scratch;
    scratch.AddFolder(plan.Target);
    setup::SetupState written = state;
    written.DestDir = plan.Target + "\\";
    written.DataDir = written.DestDir + year;
    written.YearSeq = std::to_string(plan.Year).substr(2, 2) + "001";
    try {
      setup::SystemSetup(written, scratch).WriteSystemFile();
      whole = scratch.FileContent(systemFile);
    } catch (const setup::SetupError&) {
    }
  }
  const auto writtenNow = Content(after, systemFile);
  if (writtenNow != whole && (!raised || writtenNow != Content(before, systemFile))) {
    fuzz::Fail("the system file is whole or as it was", systemFile);
  }
  // A system file names no installation that a power cut can still take:
  // what the run wrote before it is on the disk.
  if (run.stopped && whole && writtenNow == whole && writtenNow != Content(before, systemFile)) {
    for (const Planned& copy : copies) {
      const auto now = Content(after, copy.target);
      if (now && now != Content(before, copy.target) && now != Content(before, copy.source)) {
        fuzz::Fail("what the system file names is on the disk", copy.target);
      }
    }
  }
  if (raised) return;

  const std::vector<std::string> box = Lines(endBoxes.front());
  if (box[0] == "inform") {
    if (box.size() != 2 || box[1] != kSuccess) fuzz::Fail("the success message", box[1]);
    if (!IsFolderIn(after, plan.Target + "\\" + year)) {
      fuzz::Fail("success only with the year folder", target);
    }
    for (const Planned& copy : copies) {
      const auto source = Content(before, copy.source);
      const auto earlier = Content(before, copy.target);
      const auto expected = copy.sample && IsFileIn(before, copy.target) ? earlier : source;
      if (source && Content(after, copy.target) != expected) {
        fuzz::Fail("success only when every file on the disc is installed", copy.target);
      }
    }
    return;
  }
  if (box.size() < 3 || box[1] != kListHeader) fuzz::Fail("the warning lists the failures", target);
  for (std::size_t i = 2; i < box.size(); ++i) {
    const std::string& listed = box[i];
    if (i == box.size() - 1 && listed.compare(0, 3, "og ") == 0) break;  // "og N andre"
    if (listed == plan.Target + "\\" + year) {
      if (IsFolderIn(after, listed)) fuzz::Fail("a listed year folder is missing", listed);
      continue;
    }
    bool found = false;
    for (const Planned& copy : copies) {
      if (copy.target != listed) continue;
      found = true;
      const auto source = Content(before, copy.source);
      const auto installed = Content(after, copy.target);
      if (source && installed == source) fuzz::Fail("a listed file is missing or different", listed);
      const bool lost = source || IsFolderIn(before, copy.source) ||
                        !setup::StaysInside(copy.joined) ||
                        copy.joined.find(kUnspellable) != std::string::npos ||
                        !Readable(fs, scene.faults, platform::FolderPart(copy.source));
      if (!lost) fuzz::Fail("a file not on the disc is listed only when its folder is unreadable", listed);
    }
    if (!found) fuzz::Fail("only paths of the plan are listed", listed);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Choices in(data, size);
  Scene scene;
  MakeScene(in, scene);
  platform::MemoryFileSystem& fs = scene.fs;
  Answers answers{scene.held};
  LaterFaults(in, scene, answers);
  test_support::ScriptedQuestions boxes;
  AnswerFrom(in, scene, answers, boxes);

  const Run first = RunDialogue(scene, scene.state, boxes);
  Check(scene, scene.state, boxes, first);
  if (!first.stopped || !fs.IsFolder("E:\\")) return 0;

  // The machine started again, and the installation done once more without
  // faults, against the same installation done once on the machine as it
  // was, without faults.
  fs.Restart();
  setup::SetupState again = Scanned(fs, scene.chosen);
  Choices nothing(nullptr, 0);
  test_support::ScriptedQuestions second;
  AnswerFrom(nothing, scene, {}, second);
  const Run rerun = RunDialogue(scene, again, second);
  if (rerun.stopped) fuzz::Fail("the machine stops once", scene.target);

  Choices same(data, size);
  Scene reference;
  MakeScene(same, reference);
  // The properties of the machine that are no faults.
  if (scene.fat) reference.fs.SetFat(reference.target[0]);
  for (const auto& path : scene.heldReadOnly ? reference.held : std::vector<std::string>{}) {
    reference.fs.SetAttributes(path, platform::kAttrReadOnly);
  }
  reference.fs.Restart();
  reference.state = Scanned(reference.fs, reference.chosen);  // of the source as it is now
  test_support::ScriptedQuestions clean;
  AnswerFrom(nothing, reference, {}, clean);
  const Run once = RunDialogue(reference, reference.state, clean);
  Check(reference, reference.state, clean, once);
  if (rerun.after != once.after) {
    for (const auto& path : fuzz::Changes(once.after, rerun.after)) {
      // A folder that the stopped run's plan made, from a source that lost
      // it after the scan, stays.
      const bool madeFirst = first.before.count(path) == 0 && first.after.count(path) != 0 &&
                             !first.after.at(path) && rerun.after.count(path) != 0 &&
                             !rerun.after.at(path);
      if (!madeFirst) fuzz::Fail("after a stop, installing again leaves what one installation leaves", path);
    }
  }
  if (EndBoxes(second) != EndBoxes(clean)) {
    fuzz::Fail("after a stop, installing again tells what one installation tells",
               EndBoxes(second).empty() ? "no end box" : EndBoxes(second).front());
  }
  return 0;
}
