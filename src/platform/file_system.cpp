#include "platform/file_system.h"

namespace platform {

bool FolderExists(FileSystem& fs, const std::string& path) {
  const auto attributes = fs.Attributes(path);
  return attributes && (*attributes & kAttrDirectory) != 0;
}

bool FileExists(FileSystem& fs, const std::string& path) {
  const auto attributes = fs.Attributes(path);
  return attributes && (*attributes & kAttrDirectory) == 0;
}

std::string FolderPart(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NamePart(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace platform
