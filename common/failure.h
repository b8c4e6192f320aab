// A failure raised inside either program: a number and a description.
// Handlers that catch failures hand both to ErrorMsg; two numbers are
// tested by callers before any report is shown.
#pragma once

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <utility>

namespace kelmo {

// A program file named by a launch item was not found.
inline constexpr std::int32_t kPathError = 53;
// A system function that the maker binds by name is missing.
inline constexpr std::int32_t kMissingFunction = 453;
// A path or argument holds characters the ANSI code page cannot hold, so
// it cannot be handed to the ANSI entry points unchanged.
inline constexpr std::int32_t kTextNotInCodePage = 5;
// The program asks for administrator rights: a plain process start cannot
// give them, the shell's start through the consent prompt can.
inline constexpr std::int32_t kElevationRequired = 740;
// Memory ran out (std::bad_alloc caught by a handler).
inline constexpr std::int32_t kOutOfMemory = 7;
// Any other unexpected exception caught by a handler.
inline constexpr std::int32_t kUnexpectedFailure = 51;

class Failure : public std::exception {
 public:
  Failure(std::int32_t number, std::wstring description)
      : number_(number), description_(std::move(description)) {}

  std::int32_t number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "kelmo::Failure"; }

 private:
  std::int32_t number_;
  std::wstring description_;
};

// The exception being handled, as a Failure: a Failure as it is, running out
// of memory as kOutOfMemory, anything else as kUnexpectedFailure. Call it
// only inside a catch block.
inline Failure CurrentFailure() {
  try {
    throw;
  } catch (const Failure& failure) {
    return failure;
  } catch (const std::bad_alloc&) {
    return Failure(kOutOfMemory, L"メモリが不足しています。");
  } catch (...) {
    return Failure(kUnexpectedFailure, L"予期しないエラーが発生しました。");
  }
}

}  // namespace kelmo
