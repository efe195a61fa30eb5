// A fresh folder under the Windows temporary folder, removed with all it
// holds when the object goes. Test processes run side by side, so its name
// carries the process id.
#pragma once

#include <string>

namespace test_support {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }  // no trailing "\"

 private:
  std::string path_;
};

// Removes a folder with everything in it, read-only files too.
void RemoveTree(const std::wstring& folder);

}  // namespace test_support
