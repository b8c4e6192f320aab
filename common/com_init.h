// COM for the program's one thread, initialised once in WinMain and
// uninitialised when the program ends. Win32 only.
#pragma once

#include <objbase.h>

namespace kelmo {

class ScopedComInitialization {
 public:
  ScopedComInitialization() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ScopedComInitialization() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ScopedComInitialization(const ScopedComInitialization&) = delete;
  ScopedComInitialization& operator=(const ScopedComInitialization&) = delete;
  bool succeeded() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace kelmo
