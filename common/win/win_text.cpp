#include "common/win/win_text.h"

#include <windows.h>

#include <climits>

#include "common/failure.h"

namespace kelmo {

namespace {

// WideCharToMultiByte into the ANSI code page; `usedDefault` (may be null)
// learns whether a character had to become the default character.
std::string Convert(std::wstring_view text, BOOL* usedDefault) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, usedDefault);
  std::string result(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, result.data(), needed, nullptr,
                        usedDefault);
  }
  return result;
}

}  // namespace

std::string ToAnsi(std::wstring_view text) { return Convert(text, nullptr); }

std::wstring FromAnsi(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, result.data(), needed);
  return result;
}

std::optional<std::string> ToAnsiExact(std::wstring_view text, LookAlikes lookAlikes) {
  if (text.size() > INT_MAX) return std::nullopt;
  // UTF-8 and UTF-7 refuse the default-character question; they hold every
  // character, and the round trip still catches a lone surrogate.
  const UINT codePage = GetACP();
  BOOL usedDefault = FALSE;
  BOOL* const askDefault = codePage == CP_UTF8 || codePage == CP_UTF7 ? nullptr : &usedDefault;
  std::string converted = Convert(text, askDefault);
  if (usedDefault) return std::nullopt;
  if (!SurvivedRoundTrip(text, FromAnsi(converted), lookAlikes)) return std::nullopt;
  return converted;
}

std::string ToAnsiForProgram(std::wstring_view text) {
  std::optional<std::string> converted = ToAnsiExact(text);
  if (!converted) {
    throw Failure(kTextNotInCodePage,
                  L"「" + std::wstring(text) +
                      L"」には、このコンピューターの文字コードで表せない文字が含まれているため、"
                      L"このパスをプログラムに渡せません。");
  }
  return *std::move(converted);
}

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace kelmo
