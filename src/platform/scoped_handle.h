// One owner for every kind of handle that must be given back: the traits say
// what the handle's type is, which value means none, and how it is closed.
// Portable: the traits of Windows' handles are in
// platform/win32/win32_handles.h.
#pragma once

#include <utility>

namespace platform {

// Owns one handle and closes it when it goes; movable, not copyable. Traits:
//   using Handle = ...;               the handle's type
//   static Handle Invalid();          the value that owns nothing
//   static void Close(Handle handle); called once for each handle owned
template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  bool Valid() const { return handle_ != Traits::Invalid(); }
  Handle Get() const { return handle_; }
  // Gives the handle up without closing it.
  Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
  // Closes the handle owned, if any, and owns `handle` instead.
  void Reset(Handle handle = Traits::Invalid()) {
    const Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

}  // namespace platform
