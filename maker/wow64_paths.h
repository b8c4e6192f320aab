// The paths a 32-bit maker on 64-bit Windows (WOW64) writes for the programs
// that a 64-bit shell means: the shortcuts and files it is given come from
// Explorer, a 64-bit program, and the launcher that starts them is 32-bit.
// Portable: the Win32 side reads the process into a ProcessEnvironment.
#pragma once

#include <string>
#include <string_view>

namespace kelmo {

struct ProcessEnvironment {
  bool wow64 = false;               // a 32-bit process on 64-bit Windows
  std::wstring windir;              // %windir%
  std::wstring programW6432;        // %ProgramW6432%, empty when not set
  std::wstring commonProgramW6432;  // %CommonProgramW6432%, empty when not set
};

// `target`, a shortcut's target as stored (variables unexpanded), with each
// %ProgramFiles% and %CommonProgramFiles% (any letter case) replaced under
// WOW64 by %ProgramW6432% and %CommonProgramW6432%: the folders a 64-bit
// program finds there, where this process's own variables name the x86 ones.
// Unchanged outside WOW64, and where the 64-bit variable is not set.
std::wstring With64BitProgramFolders(std::wstring_view target, const ProcessEnvironment& process);

// `path` with the folder %windir%\System32 (letter case aside) at its start
// named %windir%\Sysnative under WOW64: there the file system sends a 32-bit
// program's System32, the launcher's too, to the 32-bit twins in SysWOW64,
// and Sysnative to the folder itself. Unchanged otherwise.
std::wstring WithSysnative(std::wstring_view path, const ProcessEnvironment& process);

}  // namespace kelmo
