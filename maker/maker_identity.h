// How the maker names itself: its window caption and its error reports.
#pragma once

#include "common/error_report.h"
#include "common/kelmo_build_info.h"

namespace kelmo {

inline constexpr ProgramIdentity kMakerProgram{L"Kelmo Command line Maker", KELMO_VERSION_MAJOR,
                                               KELMO_VERSION_MINOR, KELMO_VERSION_REVISION};
inline constexpr wchar_t kMakerWindowCaption[] = L"Kelmo Command line Maker";

}  // namespace kelmo
