// A file name from the distribution copied by a whole installation. The
// input's first byte chooses where the name stands (a line of Install.dat, a
// station, a run file, an info page, a picture, the bitmap, the data folder
// or a data file), the rest is the name. A known path too long refuses the
// target; nothing is made under a name Windows cannot use (UsableNamePart).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "install/installation.h"
#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "platform/shell.h"
#include "setup/names.h"
#include "setup/setup_state.h"

namespace {

enum Place {
  kInstFile,
  kStation,
  kRunFile,
  kHtmlName,
  kPicFile,
  kBitmap,
  kDataFolder,
  kDataFile,
  kPlaces
};

// Puts the name in its place; gives the name as the installation joins it to
// the source and target folders.
std::string PutName(setup::SetupState& state, int place, const std::string& name) {
  switch (place) {
    case kInstFile: state.InstFiles.Add(name); return name;
    case kStation: state.MSnavn.items.push_back(name); return name + ".cfg";
    case kRunFile: state.RunFiles.Add(name); return name;
    case kHtmlName: state.HtmlNames.Add(name); return name + ".html";
    case kPicFile: state.PicFiles.Add(name); return name;
    case kBitmap: state.BmpName = name; return name;
    case kDataFolder:
      state.DataSubDir = name;
      state.DataFiles.Add("x");
      return name + "\\x";
    default:
      state.DataSubDir = "DATA2004";
      state.DataFiles.Add(name);
      return "DATA2004\\" + name;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int place = data[0] % kPlaces;
  const std::string name(reinterpret_cast<const char*>(data) + 1, size - 1);

  platform::MemoryFileSystem fs;
  for (const char* folder : {"E:\\src\\prog", "E:\\src\\config", "E:\\src\\config\\MSinfo",
                             "E:\\src\\config\\MSinfo\\pic", "E:\\src\\DATA2004"}) {
    for (const char* file : {"x", "x.cfg", "x.html"}) {
      fs.AddFile(std::string(folder) + "\\" + file, "x");
    }
  }
  fs.AddFile("E:\\secret", "outside the source");
  fs.AddFile("C:\\Windows\\system.dll", "system");
  platform::MemoryShell shell;
  setup::SetupState state;
  state.SrcDir = "E:\\src\\";
  state.DrBox.items = {"C"};
  state.DrBox.selected = 0;
  state.PrBib = "t";
  const std::string joined = PutName(state, place, name);

  static const fuzz::Snapshot before = fuzz::TakeSnapshot(fs);  // the same machine every time
  install::Installation installation(state, fs, shell);
  // Only a line of Install.dat is not known before the install begins.
  const char* const below[kPlaces] = {"", "", "", "MSinfo\\", "MSinfo\\pic\\", "", "", ""};
  const bool tooLong =
      (place != kInstFile &&
       setup::WindowsLength("C:\\t\\" + (below[place] + joined)) > setup::kMaxPathLength) ||
      (place == kDataFolder && setup::WindowsLength("C:\\t\\" + name) > setup::kMaxFolderLength);
  const install::Refusal refusal = installation.CheckTarget();
  if (tooLong != (refusal == install::Refusal::kPathTooLong)) {
    fuzz::Fail("a known path over 259 or folder over 247 characters, only that, refuses", name);
  }
  if (refusal != install::Refusal::kNone) return 0;
  const install::InstallPlan plan = installation.Plan();
  installation.Apply(install::CopyFiles(plan, fs, install::SurveyTarget(plan, fs, {})));
  for (const std::string& entry : fs.Journal()) {
    // "copy <from> -> <to>", "move <from> -> <to>", "mkdir <path>"; a name may
    // hold spaces, but the target is on C: and no source is.
    const std::size_t to = entry.rfind(" -> C:\\");
    if (to == std::string::npos && entry.rfind("mkdir ", 0) != 0) continue;
    const std::string made = to != std::string::npos ? entry.substr(to + 4) : entry.substr(6);
    if (made.size() > 5 && (!setup::UsableRelativeName(made.substr(5)) ||
                            setup::WindowsLength(made) > setup::kMaxPathLength)) {
      fuzz::Fail("nothing is made under a name Windows cannot use or reach", entry);
    }
  }
  for (const std::string& changed : fuzz::Changes(before, fuzz::TakeSnapshot(fs))) {
    if (!fuzz::IsUnder(changed, "C:\\T")) {
      fuzz::Fail("nothing changes outside the target", name + ": " + changed);
    }
  }
  if (!setup::StaysInside(joined)) {
    for (const std::string& entry : fs.Journal()) {
      if (entry.compare(0, 5, "copy ") == 0) fuzz::Fail("a name reaching out is not copied", entry);
    }
  }
  return 0;
}
