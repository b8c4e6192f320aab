// How the launcher names itself in its messages.
#pragma once

#include "common/error_report.h"
#include "common/kelmo_build_info.h"

namespace kelmo {

inline constexpr ProgramIdentity kLauncherProgram{L"KelmoPro", KELMO_VERSION_MAJOR,
                                                  KELMO_VERSION_MINOR, KELMO_VERSION_REVISION};
// kelmo.exe, the standard launcher built from the same sources.
inline constexpr ProgramIdentity kStandardLauncherProgram{
    L"Kelmo", KELMO_VERSION_MAJOR, KELMO_VERSION_MINOR, KELMO_VERSION_REVISION};
// The caption of message boxes that have no title of their own.
inline constexpr wchar_t kLauncherApplicationTitle[] = L"Kelmo Pro";
inline constexpr wchar_t kPathErrorText[] = L"パス指定を一部間違っている可能性があります。";
// MB_OK | MB_ICONERROR | MB_SYSTEMMODAL
inline constexpr unsigned kPathErrorStyle = 0x1010;

}  // namespace kelmo
