// kelmo.exe's command line: the maker's entries for the standard launcher,
// each a program text in double quotes with one space before it, turned into
// the programs to start. Portable: whether a path exists is asked of the
// caller.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/split_exe_args.h"

namespace kelmo {

// True when `path` names a file or folder that exists.
using PathExists = std::function<bool(const std::wstring& path)>;

// The programs of `argumentText` in entry order. The entries are cut as the
// maker cuts a standard group it opens (StandardEntries); each loses its
// surrounding spaces and the pair of double quotes around it, then the
// spaces inside them.
//
// A program text that begins with a double quote is cut as a process start
// reads a command line (SplitCommandLine). Any other text is its longest
// beginning, up to a space or tab or the end, that names an existing path,
// followed by the rest as parameters: a dropped program whose path keeps its
// spaces (a volume without short names) is written unquoted inside its
// entry, and would otherwise be cut at its first space. When no beginning
// exists the text is cut at its first space or tab, and the shell searches
// for that name as it does for any command.
//
// An entry that leaves no file (blank, or "" with parameters) starts nothing
// and gives no program.
std::vector<ExeArgs> ReadStandardCommandLine(std::wstring_view argumentText,
                                             const PathExists& exists);

}  // namespace kelmo
