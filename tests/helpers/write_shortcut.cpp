// A helper for the shortcut agreement test: writes one shortcut with
// cShellLink, as the maker does, and exits 0 when CreateShellLink says it
// wrote it.
//
//   write_shortcut.exe <lnk file> <target> <arguments> <show command> <description>
#include <windows.h>

#include <cwchar>
#include <string>

#include "common/win/com_init.h"
#include "maker/win/shell_link.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) return 2;
  const kelmo::ScopedComInitialization com;
  const bool written = kelmo::cShellLink().CreateShellLink(
      argv[1], argv[2], L"", argv[3], L"", 0, static_cast<int>(std::wcstol(argv[4], nullptr, 10)),
      argv[5]);
  return written ? 0 : 1;
}
