// The owner of one handle released by one call: the handle's type, the call
// and the value that means "none" are its parameters, so each kind of handle
// is a one-line alias (platform/win32_owners.h). It is move-only: a handle
// has one owner at a time, and release() hands it on explicitly. Free of
// Win32 so that its rules are tested natively against a counting release.
#pragma once

#include <type_traits>
#include <utility>

namespace kn {

// `Invalid` is a value of `Handle`, or an integer for pointer handles whose
// "none" is not null (INVALID_HANDLE_VALUE is -1 cast to a pointer, which
// cannot be a template argument).
template <typename Handle, auto Release, auto Invalid = Handle{}>
class UniqueOwner {
 public:
  static Handle none() {
    if constexpr (std::is_pointer_v<Handle> && std::is_integral_v<decltype(Invalid)>) {
      return reinterpret_cast<Handle>(Invalid);
    } else {
      return Invalid;
    }
  }

  UniqueOwner() noexcept : handle_(none()) {}
  explicit UniqueOwner(Handle handle) noexcept : handle_(handle) {}
  ~UniqueOwner() { reset(); }
  UniqueOwner(const UniqueOwner&) = delete;
  UniqueOwner& operator=(const UniqueOwner&) = delete;
  UniqueOwner(UniqueOwner&& other) noexcept : handle_(other.release()) {}
  UniqueOwner& operator=(UniqueOwner&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != none(); }
  // The handle, no longer owned: the caller (or the system) releases it.
  Handle release() noexcept { return std::exchange(handle_, none()); }
  // Releases what is held and takes `handle`; taking the same handle again
  // keeps it rather than releasing a handle still in use.
  void reset(Handle handle = none()) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != none() && old != handle) Release(old);
  }

 private:
  Handle handle_;
};

}  // namespace kn
