#include "support/held_copies.h"

#include <chrono>

namespace test_support {

namespace {

// Long enough for any machine that runs the tests; reached only by a fault.
constexpr std::chrono::seconds kPatience{60};

}  // namespace

void HeldCopies::HoldFrom(int first) {
  const std::lock_guard<std::mutex> lock(mutex_);
  holdFrom_ = first;
}

void HeldCopies::Open() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    holdFrom_ = 0;
  }
  changed_.notify_all();
}

bool HeldCopies::WaitForCopies(int count) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, kPatience, [&] { return copies_ >= count; });
}

int HeldCopies::Copies() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return copies_;
}

int HeldCopies::Finished() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

platform::ErrorCode HeldCopies::CopyNewFile(const std::string& from, const std::string& to) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    const int number = ++copies_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return holdFrom_ == 0 || number < holdFrom_; });
  }
  const platform::ErrorCode error = inner_.CopyNewFile(from, to);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ++finished_;
  }
  changed_.notify_all();
  return error;
}

}  // namespace test_support
