#include "support/sample_source.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

std::string SampleDir() { return SAMPLE_DIR; }

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderEntries(platform::FileSystem& fs, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs.Search(folder + "\\*", platform::SearchFilter::kFilesAndFolders)) {
    names.push_back(entry.name);
  }
  return names;
}

void LoadHostFolder(platform::MemoryFileSystem& memory, const std::string& hostDir,
                    const std::string& target) {
  memory.AddFolder(target);
  std::vector<fs::path> entries;
  for (const auto& entry : fs::directory_iterator(hostDir)) entries.push_back(entry.path());
  std::sort(entries.begin(), entries.end());
  for (const auto& path : entries) {
    const std::string name = path.filename().string();
    const std::string windowsPath = target + (target.back() == '\\' ? "" : "\\") + name;
    if (fs::is_directory(path)) {
      LoadHostFolder(memory, path.string(), windowsPath);
    } else {
      memory.AddFile(windowsPath, ReadHostFile(path.string()));
    }
  }
}

}  // namespace test_support
