// The install's own floor: exactly the copies of Setup.exe's plan for the
// distribution in the current folder, into a new folder, as a bare loop of
// CopyFileW calls with nothing around them: no attribute reads, no
// progress, no window, no system file.
//
//   bench_floor [--attributes] TARGET [LIMIT_MS]
//
// TARGET is the new folder (C:\bench_floor, say). With --attributes each
// copy's attributes are read after it, as Setup.exe reads them to clear a
// read-only copy: what that read costs.
//
// The plan is the program's own: the scan of the current folder and the
// copies of the installation, recorded on a file system that only notes what
// it is asked. Then the folders are made and the copies timed. Prints
// folders=, copies=, failed= and ms= (folders and copies) as key=value lines;
// past LIMIT_MS the copies stop, and timeout=1 and done= are printed instead
// of ms=.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "install/installation.h"
#include "platform/memory_file_system.h"
#include "platform/shell.h"
#include "platform/wide.h"
#include "platform/win32_file_system.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"

namespace {

// Answers what the plan reads from the real file system, and notes the
// folders and copies it is asked for instead of making them.
class Recorder : public platform::Win32FileSystem {
 public:
  std::vector<std::string> folders;
  std::vector<std::pair<std::string, std::string>> copies;

  platform::ErrorCode CopyFileOver(const std::string& from, const std::string& to) override {
    copies.emplace_back(from, to);
    targets_.insert(to);
    return platform::kOk;
  }
  platform::ErrorCode CreateFolder(const std::string& path) override {
    folders.push_back(path);
    created_.AddFolder(path);
    return platform::kOk;
  }
  std::optional<std::uint32_t> Attributes(const std::string& path) override {
    // Folders of the plan exist once asked for; copies are ordinary files.
    if (created_.IsFolder(path)) return platform::kAttrDirectory;
    if (targets_.count(path) != 0) return platform::kAttrArchive;
    return Win32FileSystem::Attributes(path);
  }

 private:
  platform::MemoryFileSystem created_;
  std::unordered_set<std::string> targets_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool attributes = argc > 1 && std::wstring(argv[1]) == L"--attributes";
  if (attributes) {
    --argc;
    ++argv;
  }
  if (argc != 2 && argc != 3) {
    std::printf("usage: bench_floor [--attributes] TARGET [LIMIT_MS]\n");
    return 2;
  }
  const double limitMs = argc == 3 ? std::wcstod(argv[2], nullptr) : 1e300;
  const std::string target = platform::Narrow(argv[1]);
  Recorder recorder;
  setup::SetupState state;
  setup::SystemSetup(state, recorder).ScanSource();
  state.InstFiles = setup::LoadTextFile(recorder, state.SrcDir + "Install.dat");
  state.DrBox.items = {target.substr(0, 1)};
  state.DrBox.selected = 0;
  state.PrBib = target.substr(3);
  platform::MemoryShell shell;
  install::CopyFiles(install::Installation(state, recorder, shell).Plan(), recorder);

  const auto start = std::chrono::steady_clock::now();
  for (const auto& folder : recorder.folders) CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  const auto elapsed = [start] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  int failed = 0;
  std::size_t done = 0;
  for (const auto& [from, to] : recorder.copies) {
    // The folder is new: every copy makes a new file, as CopyFileW does quickest.
    const std::wstring target = platform::Widen(to);
    if (!CopyFileW(platform::Widen(from).c_str(), target.c_str(), TRUE)) ++failed;
    if (attributes) GetFileAttributesW(target.c_str());
    ++done;
    if (done % 64 == 0 && elapsed() > limitMs) break;
  }
  const double ms = elapsed();
  std::printf("folders=%zu\ncopies=%zu\nfailed=%d\n", recorder.folders.size(),
              recorder.copies.size(), failed);
  if (done < recorder.copies.size()) {
    std::printf("timeout=1\ndone=%zu\n", done);
  } else {
    std::printf("ms=%.1f\n", ms);
  }
  return 0;
}
