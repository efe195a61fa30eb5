#include "fuzz_support.h"

#include <cstdio>
#include <string_view>

#include "platform/unicode.h"

namespace fuzz {

void Fail(const char* invariant, const std::string& detail) {
  std::string shown;
  for (const char c : detail) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  std::fprintf(stderr, "\n*** invariant broken: %s\n*** %s\n", invariant, shown.c_str());
  __builtin_trap();
}

Snapshot TakeSnapshot(const platform::MemoryFileSystem& fs) {
  Snapshot snapshot;
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    const std::string root = std::string(1, drive) + ":\\";
    for (const std::string& relative : fs.Tree(root)) {
      snapshot[platform::FileNameUpper(root + relative)] = fs.FileContent(root + relative);
    }
  }
  return snapshot;
}

std::vector<std::string> Changes(const Snapshot& before, const Snapshot& after) {
  std::vector<std::string> changed;
  for (const auto& [path, content] : after) {
    const auto it = before.find(path);
    if (it == before.end() || it->second != content) changed.push_back(path);
  }
  for (const auto& entry : before) {
    if (after.count(entry.first) == 0) changed.push_back(entry.first);
  }
  return changed;
}

std::optional<std::string> Resolved(const std::string& path) {
  const auto resolved = platform::ResolveFullPath(path);
  if (!resolved) return std::nullopt;
  std::string key = std::string(1, resolved->drive) + ":";
  for (const auto& part : resolved->parts) key += "\\" + platform::FileNameUpper(part);
  return key;
}

bool IsUnder(const std::string& path, const std::string& folder) {
  return path == folder ||
         (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
          path[folder.size()] == '\\');
}

}  // namespace fuzz
