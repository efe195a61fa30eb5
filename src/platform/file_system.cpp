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

ErrorCode CopyWritable(FileSystem& fs, const std::string& from, const std::string& to) {
  ErrorCode error = fs.CopyFileOver(from, to);
  if (error == kErrorAccessDenied) {
    // Windows replaces no read-only, hidden or system file; the copy brings
    // the source's attributes anyway.
    constexpr std::uint32_t kRefusing = kAttrReadOnly | kAttrHidden | kAttrSystem;
    const auto target = fs.Attributes(to);
    if (target && (*target & kAttrDirectory) == 0 && (*target & kRefusing) != 0 &&
        fs.SetAttributes(to, *target & ~kRefusing) == kOk) {
      error = fs.CopyFileOver(from, to);
      if (error != kOk) fs.SetAttributes(to, *target);  // left as it was found
    }
  }
  if (error != kOk) return error;
  const auto copied = fs.Attributes(to);
  if (copied && (*copied & kAttrReadOnly) != 0) return fs.SetAttributes(to, *copied & ~kAttrReadOnly);
  return kOk;
}

std::string FolderPart(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string NamePart(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace platform
