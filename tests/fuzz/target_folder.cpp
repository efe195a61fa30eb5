// The target folder from the chosen drive entry and the program folder text,
// and a whole installation into it. The input's first byte less '0' is the
// selected index; up to the first line break follow the drive entries,
// separated by ","; the rest is the program folder text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "install/installation.h"
#include "support/memory_file_system.h"
#include "support/memory_shell.h"
#include "platform/shell.h"
#include "setup/setup_error.h"
#include "setup/setup_state.h"
#include "setup/system_setup.h"

namespace {

// A machine with a small distribution on E:\src and earlier files on C and D.
void MakeMachine(platform::MemoryFileSystem& fs) {
  fs.AddFile("C:\\Windows\\system.dll", "system");
  fs.AddFile("C:\\KAMBRIX\\old.exe", "old");
  fs.AddFile("D:\\data\\keep.txt", "keep");
  fs.AddFile("E:\\src\\prog\\sarnok.exe", "sarnok");
  fs.AddFile("E:\\src\\prog\\delviq.exe", "delviq");
  fs.AddFile("E:\\src\\config\\Vestmark.bib",
             "C:\\KAMBRIX\\DATA2004\\\r\nCOM2,19200\r\nvm04\r\n"
             "I12345678,+CBST=71\r\n04001\r\n\r\nABC\r\n");
  fs.AddFile("E:\\src\\config\\ABC.cfg", "abc");
  fs.AddFile("E:\\src\\config\\maaling.run", "run");
  fs.AddFile("E:\\src\\config\\logo.bmp", "bmp");
  fs.AddFile("E:\\src\\config\\MSinfo\\ABC.html", "html");
  fs.AddFile("E:\\src\\config\\MSinfo\\pic\\abc1.png", "png");
  fs.AddFile("E:\\src\\DATA2004\\0401.dat", "dat");
  fs.SetCurrentDirectory("E:\\src");
  fs.SetYear(2005);
}

// The state after the scan of that distribution, made once.
const setup::SetupState& ScannedState() {
  static const setup::SetupState scanned = [] {
    platform::MemoryFileSystem fs;
    MakeMachine(fs);
    setup::SetupState state;
    setup::SystemSetup(state, fs).ScanSource();
    state.InstFiles.Add("sarnok.exe");
    state.InstFiles.Add("delviq.exe");
    return state;
  }();
  return scanned;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  setup::SetupState state = ScannedState();
  const std::size_t lineEnd = std::min(input.find('\n'), input.size());
  state.DrBox.items.clear();
  for (std::size_t start = 1; start < lineEnd;) {
    const std::size_t end = std::min(input.find(',', start), lineEnd);
    state.DrBox.items.emplace_back(input.substr(start, end - start));
    start = end + 1;
  }
  state.DrBox.selected = static_cast<unsigned char>(input[0]) - '0';
  state.PrBib = std::string(input.substr(std::min(lineEnd + 1, input.size())));

  platform::MemoryFileSystem fs;
  MakeMachine(fs);
  platform::MemoryShell shell;
  install::Installation installation(state, fs, shell);
  const std::string target = installation.TargetFolder();
  const install::Refusal refusal = installation.CheckTarget();
  const std::string detail = "target " + target;

  if (refusal != install::Refusal::kNone) {
    try {
      installation.Plan();
      fuzz::Fail("a refused target stops the installation", detail);
    } catch (const setup::SetupError&) {
    }
    if (!fs.Journal().empty()) {
      fuzz::Fail("a refused installation writes nothing", fs.Journal().front());
    }
    return 0;
  }

  static const fuzz::Snapshot before = fuzz::TakeSnapshot(fs);  // the same machine every time
  const std::string drive = state.DrBox.Selected();
  if (target.compare(0, drive.size() + 2, drive + ":\\") != 0) {
    fuzz::Fail("the target is on the chosen drive", detail);
  }
  const auto resolved = fuzz::Resolved(target);
  if (resolved && resolved->size() == 2) fuzz::Fail("the target lies below the drive root", detail);

  try {
    const install::InstallPlan plan = installation.Plan();
    installation.Apply(install::CopyFiles(plan, fs, install::SurveyTarget(plan, fs, {})));
  } catch (const std::exception& error) {
    fuzz::Fail("an accepted target installs without an error", detail + ": " + error.what());
  }
  // Besides the target's own tree, only folders are made, and only those the
  // target's text passes through (its parts up to each "\"), even when a
  // later part is no valid name.
  std::set<std::string> onTheWay;
  for (std::size_t slash = target.find('\\'); slash != std::string::npos;
       slash = target.find('\\', slash + 1)) {
    if (const auto folder = fuzz::Resolved(target.substr(0, slash))) onTheWay.insert(*folder);
  }
  const fuzz::Snapshot after = fuzz::TakeSnapshot(fs);
  for (const std::string& changed : fuzz::Changes(before, after)) {
    const bool inTarget = resolved && fuzz::IsUnder(changed, *resolved);
    const bool madeOnTheWay = onTheWay.count(changed) != 0 && before.count(changed) == 0 &&
                              after.count(changed) != 0 && !after.at(changed);
    if (!inTarget && !madeOnTheWay) {
      fuzz::Fail("nothing changes outside the target", detail + ": " + changed);
    }
  }
  return 0;
}
