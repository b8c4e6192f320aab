// Forced into every translation unit of the Windows programs (-include).
// libstdc++ declares its std::string and std::wstring instantiations extern,
// so a static program links the library's whole prebuilt copy of each class
// (about 30 KB apiece) even when it calls a handful of members. The value -1
// turns off those extern declarations for basic_string alone: the members the
// program uses are instantiated in its own sections, and --gc-sections drops
// the rest.
#pragma once

#include <bits/c++config.h>

#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1
