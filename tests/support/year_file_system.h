// The real Windows file system with a clock the test sets, so that
// installations in two years can follow each other, and a look at each copy
// as it is done. Windows only.
#pragma once

#include <functional>
#include <string>

#include "platform/win32/win32_file_system.h"

namespace test_support {

class YearFileSystem : public platform::Win32FileSystem {
 public:
  int year = 2005;
  std::function<void()> afterCopy;  // called after each copy, whatever it returned

  int LocalYear() override { return year; }
  platform::ErrorCode CopyNewFile(const std::string& from, const std::string& to) override {
    const platform::ErrorCode error = Win32FileSystem::CopyNewFile(from, to);
    if (afterCopy) afterCopy();
    return error;
  }
};

}  // namespace test_support
