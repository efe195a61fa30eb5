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

std::optional<std::vector<std::string>> FindHeld(
    const std::vector<std::string>& paths,
    const std::function<std::optional<std::size_t>(const std::vector<std::string>&)>& count) {
  std::vector<std::string> held;
  const std::function<bool(std::size_t, std::size_t)> ask = [&](std::size_t from, std::size_t to) {
    const auto found = count({paths.begin() + from, paths.begin() + to});
    if (!found) return false;
    if (*found == 0) return true;
    if (to - from == 1) {
      held.push_back(paths[from]);
      return true;
    }
    const std::size_t middle = from + (to - from) / 2;
    return ask(from, middle) && ask(middle, to);
  };
  if (!paths.empty() && !ask(0, paths.size())) return std::nullopt;
  return held;
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
