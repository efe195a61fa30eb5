// Times, inside one process, the parts of listing one big folder the way the
// start-up scan does: the bare FindFirstFileExW/FindNextFileW loop, the same
// loop with every name converted to UTF-8, the loop with the conversion and
// the wildcard check on every long name, and Win32FileSystem::Search itself,
// then Search with its names copied into a list as the scan keeps them.
//
//   bench_scanprobe PATTERN        e.g. Z:\...\cd\DATA2004\*.dat
//
// Each way runs 3 times; the fastest run is printed, in ms.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "enumerate.h"
#include "platform/file_system.h"
#include "platform/win32/wide.h"
#include "platform/wildcard.h"
#include "platform/win32/win32_file_system.h"

namespace {

double Fastest(const std::function<std::size_t()>& work, std::size_t& count) {
  double best = 1e30;
  for (int i = 0; i < 3; ++i) {
    const auto start = std::chrono::steady_clock::now();
    count = work();
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (ms < best) best = ms;
  }
  return best;
}

std::size_t Loop(const std::wstring& pattern, const std::function<void(const wchar_t*)>& each) {
  std::size_t count = 0;
  bench::ForEachEntry(pattern, [&](const WIN32_FIND_DATAW& data) {
    each(data.cFileName);
    ++count;
    return true;
  });
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::printf("usage: bench_scanprobe PATTERN\n");
    return 2;
  }
  const std::wstring pattern = argv[1];
  const std::string narrowPattern = platform::Narrow(pattern);
  const std::string mask = narrowPattern.substr(narrowPattern.rfind('\\') + 1);
  std::size_t count = 0;
  std::size_t sink = 0;

  const double bare = Fastest([&] { return Loop(pattern, [&](const wchar_t*) {}); }, count);
  std::printf("entries=%zu\nbare_loop_ms=%.1f\n", count, bare);
  const double narrow = Fastest(
      [&] { return Loop(pattern, [&](const wchar_t* name) { sink += platform::Narrow(name).size(); }); },
      count);
  std::printf("loop_with_utf8_ms=%.1f\n", narrow);
  const double matched = Fastest(
      [&] {
        return Loop(pattern, [&](const wchar_t* name) {
          sink += platform::WildcardMatch(mask, platform::Narrow(name)) ? 1 : 0;
        });
      },
      count);
  std::printf("loop_with_utf8_and_match_ms=%.1f\n", matched);

  platform::Win32FileSystem fs;
  const double search = Fastest(
      [&] { return fs.Search(narrowPattern, platform::SearchFilter::kPlainFiles).size(); }, count);
  std::printf("search_ms=%.1f\n", search);
  const double listed = Fastest(
      [&] {
        const auto entries = fs.Search(narrowPattern, platform::SearchFilter::kPlainFiles);
        std::vector<std::string> list;
        for (const auto& entry : entries) list.push_back(entry.name);
        return list.size();
      },
      count);
  std::printf("search_and_list_ms=%.1f\n", listed);
  return sink == 0 ? 0 : 0;
}
