// The install's own floor: exactly the copies of Setup.exe's plan for the
// distribution in the current folder, into a new folder, as a bare loop of
// CopyFileW calls with nothing around them: no attribute reads, no
// progress, no window, no system file.
//
//   bench_floor [--attributes | --over | --durable | --durable-over | --survey] TARGET [LIMIT_MS]
//
// TARGET is the new folder (C:\bench_floor, say). With --attributes each
// copy's attributes are read after it, as Setup.exe reads them to clear a
// read-only copy: what that read costs. With --over TARGET holds an earlier
// installation, and each copy replaces its file in place, as CopyFileW does
// when asked to overwrite. --durable gives the same guarantee as Setup.exe
// against a power cut with nothing else: each new copy is flushed, and
// with --durable-over each copy goes to a temporary name beside its file, is
// flushed and renamed over it, written through.
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
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const bool attributes = mode == L"--attributes";
  const bool durableOver = mode == L"--durable-over";
  const bool durable = durableOver || mode == L"--durable";
  const bool over = mode == L"--over";
  const bool survey = mode == L"--survey";
  if (attributes || over || durable || survey) {
    --argc;
    ++argv;
  }
  if (argc != 2 && argc != 3) {
    std::printf("usage: bench_floor [--attributes | --over | --durable | --durable-over | --survey] TARGET [LIMIT_MS]\n");
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
  std::vector<std::string> folders = {plan.Target};
  for (const std::string& folder : install::GroupFolders()) {
    folders.push_back(plan.Target + "\\" + folder.substr(0, folder.size() - 1));
  }
  folders.push_back(plan.Target + "\\" + install::YearFolder(plan.Year));
  if (!plan.DataSubDir.empty()) folders.push_back(plan.Target + "\\" + plan.DataSubDir);

  const auto start = std::chrono::steady_clock::now();
  if (survey) {
    const install::TargetSurvey looked = install::SurveyTarget(plan, fs, {});
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("copies=%zu\nneeded=%llu\nms=%.1f\n", copies.size(),
                static_cast<unsigned long long>(looked.needed), ms);
    return 0;
  }
  for (const auto& folder : folders) CreateDirectoryW(platform::Widen(folder).c_str(), nullptr);
  const auto elapsed = [start] {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  };
  int failed = 0;
  std::size_t done = 0;
  for (const install::PlannedCopy& copy : copies) {
    // In a new folder every copy makes a new file, as CopyFileW does quickest.
    const std::wstring target = platform::Widen(copy.target);
    const std::wstring written = durableOver ? target + L".new" : target;
    if (!CopyFileW(platform::Widen(copy.source).c_str(), written.c_str(), over ? FALSE : TRUE)) ++failed;
    if (attributes) GetFileAttributesW(target.c_str());
    if (durable) {
      const HANDLE file = CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file)) ++failed;
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    if (durableOver && !MoveFileExW(written.c_str(), target.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      ++failed;
    }
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
