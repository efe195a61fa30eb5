// The install's own floor: exactly the copies of Setup.exe's plan for the
// distribution in the current folder, into a new folder, as a bare loop of
// CopyFileW calls with nothing around them: no attribute reads, no
// progress, no window, no system file.
//
//   bench_floor [--attributes | --over] TARGET [LIMIT_MS]
//
// TARGET is the new folder (C:\bench_floor, say). With --attributes each
// copy's attributes are read after it, as Setup.exe reads them to clear a
// read-only copy: what that read costs. With --over TARGET holds an earlier
// installation, and each copy replaces its file in place, as CopyFileW does
// when asked to overwrite.
//
// The plan is the program's own: the scan of the current folder and the
// table of the installation's copies. Then the folders are made and the
// copies timed. Prints
// folders=, copies=, failed= and ms= (folders and copies) as key=value lines;
// past LIMIT_MS the copies stop, and timeout=1 and done= are printed instead
// of ms=.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "install/installation.h"
#include "platform/shell.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"
#include "setup/system_setup.h"
#include "setup/text_file.h"
#include "support/memory_shell.h"

int wmain(int argc, wchar_t** argv) {
  const bool attributes = argc > 1 && std::wstring(argv[1]) == L"--attributes";
  const bool over = argc > 1 && std::wstring(argv[1]) == L"--over";
  if (attributes || over) {
    --argc;
    ++argv;
  }
  if (argc != 2 && argc != 3) {
    std::printf("usage: bench_floor [--attributes | --over] TARGET [LIMIT_MS]\n");
    return 2;
  }
  const double limitMs = argc == 3 ? std::wcstod(argv[2], nullptr) : 1e300;
  const std::string target = platform::Narrow(argv[1]);
  platform::Win32FileSystem fs;
  setup::SetupState state;
  setup::SystemSetup(state, fs).ScanSource();
  state.InstFiles = setup::LoadTextFile(fs, state.SrcDir + "Install.dat");
  state.DrBox.items = {target.substr(0, 1)};
  state.DrBox.selected = 0;
  state.PrBib = target.substr(3);
  platform::MemoryShell shell;
  const install::InstallPlan plan = install::Installation(state, fs, shell).Plan();
  const std::vector<install::PlannedCopy> copies = plan.Copies();
  std::vector<std::string> folders = {plan.Target, plan.Target + "\\MSinfo",
                                      plan.Target + "\\MSinfo\\pic",
                                      plan.Target + "\\DATA" + std::to_string(plan.Year)};
  if (!plan.DataSubDir.empty()) folders.push_back(plan.Target + "\\" + plan.DataSubDir);

  const auto start = std::chrono::steady_clock::now();
  for (const auto& folder : folders) CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  const auto elapsed = [start] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  int failed = 0;
  std::size_t done = 0;
  for (const install::PlannedCopy& copy : copies) {
    // In a new folder every copy makes a new file, as CopyFileW does quickest.
    const std::wstring target = platform::Widen(copy.target);
    if (!CopyFileW(platform::Widen(copy.source).c_str(), target.c_str(), over ? FALSE : TRUE)) ++failed;
    if (attributes) GetFileAttributesW(target.c_str());
    ++done;
    if (done % 64 == 0 && elapsed() > limitMs) break;
  }
  const double ms = elapsed();
  std::printf("folders=%zu\ncopies=%zu\nfailed=%d\n", folders.size(), copies.size(), failed);
  if (done < copies.size()) {
    std::printf("timeout=1\ndone=%zu\n", done);
  } else {
    std::printf("ms=%.1f\n", ms);
  }
  return 0;
}
