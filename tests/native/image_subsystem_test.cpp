// Reading a program image's subsystem from the first bytes of its file.
#include "launcher/image_subsystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

namespace kelmo {
namespace {

// The head of an image: an MS-DOS header whose e_lfanew is `peAt`, the PE
// signature there, a file header that gives the optional header's size, and
// an optional header with its magic and subsystem; cut to `size` bytes.
std::string Head(std::uint32_t peAt, std::uint16_t magic, std::uint16_t subsystem,
                 std::uint16_t optionalSize = 224, std::size_t size = 1024) {
  std::string head(std::max<std::size_t>(size, peAt + 200), '\0');
  const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) head[at + i] = static_cast<char>(value >> (8 * i));
  };
  head[0] = 'M';
  head[1] = 'Z';
  put(0x3C, peAt, 4);
  head.replace(peAt, 4, std::string("PE\0\0", 4));
  put(peAt + 4 + 16, optionalSize, 2);
  put(peAt + 24, magic, 2);
  put(peAt + 24 + 68, subsystem, 2);
  head.resize(size);
  return head;
}

TEST(ImageSubsystem, ReadsTheOptionalHeaderOrNothing) {
  const struct {
    const char* name;
    std::string head;
    std::optional<std::uint16_t> subsystem;
  } rows[] = {
      {"console PE32", Head(0x80, 0x10B, kConsoleSubsystem), kConsoleSubsystem},
      {"windows PE32+", Head(0xF8, 0x20B, kGuiSubsystem), kGuiSubsystem},
      {"header far into the head", Head(0xE00, 0x10B, kConsoleSubsystem, 240, 4096),
       kConsoleSubsystem},
      {"cut just before the field", Head(0x80, 0x10B, 3, 224, 0x80 + 24 + 69), std::nullopt},
      {"cut just after the field", Head(0x80, 0x10B, 3, 224, 0x80 + 24 + 70), kConsoleSubsystem},
      {"header beyond the head", Head(0x2000, 0x10B, 3, 224, 4096), std::nullopt},
      {"e_lfanew near 4 GiB", "MZ" + std::string(0x3A, '\0') + "\xF0\xFF\xFF\xFF", std::nullopt},
      {"optional header too small", Head(0x80, 0x10B, 3, 68), std::nullopt},
      {"unknown magic (ROM image)", Head(0x80, 0x107, 3), std::nullopt},
      {"no MZ", "ZM" + Head(0x80, 0x10B, 3).substr(2), std::nullopt},
      {"a batch file", "@echo off\r\nstart game.exe\r\n", std::nullopt},
      {"empty", "", std::nullopt},
  };
  for (const auto& r : rows) EXPECT_EQ(ImageSubsystem(r.head), r.subsystem) << r.name;
}

}  // namespace
}  // namespace kelmo
