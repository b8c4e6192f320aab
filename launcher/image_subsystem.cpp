#include "launcher/image_subsystem.h"

#include <cstddef>

namespace kelmo {

namespace {

constexpr std::size_t kNewHeaderOffsetAt = 0x3C;   // e_lfanew in the MS-DOS header
constexpr std::size_t kFileHeaderBytes = 20;       // after the "PE\0\0" signature
constexpr std::size_t kOptionalHeaderSizeAt = 16;  // in the file header
constexpr std::size_t kSubsystemAt = 68;           // in the optional header, PE32 and PE32+ alike
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i > 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i - 1]);
  }
  return value;
}

}  // namespace

std::optional<std::uint16_t> ImageSubsystem(std::string_view head) {
  if (head.size() < kNewHeaderOffsetAt + 4 || head.substr(0, 2) != "MZ") return std::nullopt;
  const std::size_t signature = LittleEndian(head, kNewHeaderOffsetAt, 4);
  const std::size_t optional = signature + 4 + kFileHeaderBytes;
  if (signature > head.size() ||
      head.size() - signature < 4 + kFileHeaderBytes + kSubsystemAt + 2 ||
      head.substr(signature, 4) != std::string_view("PE\0\0", 4)) {
    return std::nullopt;
  }
  const std::uint32_t magic = LittleEndian(head, optional, 2);
  if ((magic != kPe32Magic && magic != kPe32PlusMagic) ||
      LittleEndian(head, signature + 4 + kOptionalHeaderSizeAt, 2) < kSubsystemAt + 2) {
    return std::nullopt;
  }
  return static_cast<std::uint16_t>(LittleEndian(head, optional + kSubsystemAt, 2));
}

}  // namespace kelmo
