// Which Windows subsystem a program file's image asks for, read from the
// file's first bytes: a console program may never get a window of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kelmo {

inline constexpr std::uint16_t kGuiSubsystem = 2;
inline constexpr std::uint16_t kConsoleSubsystem = 3;

// The Subsystem field of the image's optional header (PE32 or PE32+), or
// nullopt when `head`, the file's first bytes, holds no such header whole.
std::optional<std::uint16_t> ImageSubsystem(std::string_view head);

}  // namespace kelmo
