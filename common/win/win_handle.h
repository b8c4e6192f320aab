// Move-only owners of raw Win32 resources: each frees its resource exactly
// once, when it goes, and can be moved but not copied.
#pragma once

#include <windows.h>

#include <utility>

namespace kelmo {

template <typename Handle>
bool IsNotNull(Handle handle) {
  return handle != nullptr;
}

// `Holds` tells a real resource from "none"; only a held one is freed.
template <typename Handle, void (*Free)(Handle), bool (*Holds)(Handle) = IsNotNull<Handle>>
class ScopedResource {
 public:
  ScopedResource() = default;
  explicit ScopedResource(Handle handle) : handle_(handle) {}
  ScopedResource(ScopedResource&& other) noexcept : handle_(other.release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ~ScopedResource() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Holds(handle_); }
  // Gives the resource up without freeing it (it was freed elsewhere, or a
  // new owner takes it).
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle handle = nullptr) {
    if (Holds(handle_)) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

namespace win_handle_detail {
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline bool HoldsKernelHandle(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}
}  // namespace win_handle_detail

// A kernel handle: NULL and INVALID_HANDLE_VALUE are both "no handle".
using UniqueHandle = ScopedResource<HANDLE, win_handle_detail::CloseKernelHandle,
                                    win_handle_detail::HoldsKernelHandle>;

}  // namespace kelmo
