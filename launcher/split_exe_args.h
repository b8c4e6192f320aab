// Cutting a program text into the file to start and its parameters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelmo {

struct ExeArgs {
  std::wstring file;
  std::optional<std::wstring> parameters;  // none is not the same as an empty text

  bool operator==(const ExeArgs& other) const {
    return file == other.file && parameters == other.parameters;
  }
};

// A text that begins with a double quote names its file between the quotes
// ("C:\Program Files\App\app.exe" -x gives app.exe's full path and -x); the
// parameters are what follows the closing quote, trimmed, or none when that is
// empty. Without a closing quote the file is the rest of the text.
//
// Any other text is cut at the later of its first slash and its first space.
// The file is everything before the cut, unchanged (a space before the cut
// stays at its end); the parameters are the rest, the cut character included,
// with ASCII spaces trimmed. No slash and no space: the whole text is the file.
ExeArgs SplitExeArgs(std::wstring_view programText);

// A command line cut as a process start reads it, for the shell to start the
// same program: a file in double quotes as above; otherwise the file ends at
// the first space or tab.
ExeArgs SplitCommandLine(std::wstring_view commandLine);

}  // namespace kelmo
