// COM for the program's one thread, initialised once in WinMain and
// uninitialised when the program ends. Apartment-threaded with OLE1 DDE
// turned off, as the shell asks of callers of ShellExecute and of its shell
// link object. Win32 only.
#pragma once

#include <objbase.h>

namespace kelmo {

class ScopedComInitialization {
 public:
  ScopedComInitialization()
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
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
