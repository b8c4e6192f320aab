#include "maker/path_parts.h"

namespace kelmo {
namespace {

constexpr wchar_t kSeparators[] = L"\\/:";

}  // namespace

std::wstring_view FileNameOf(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

std::wstring_view FolderOf(std::wstring_view path) {
  const std::size_t separator = path.find_last_of(kSeparators);
  if (separator == std::wstring_view::npos) return {};
  // A drive colon, and a slash that follows it or starts the path, are the
  // root: without them the folder would name another one.
  const bool root = path[separator] == L':' || separator == 0 || path[separator - 1] == L':';
  return path.substr(0, root ? separator + 1 : separator);
}

std::wstring_view ExtensionOf(std::wstring_view path) {
  const std::wstring_view name = FileNameOf(path);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
}

std::wstring WithFileName(std::wstring_view path, std::wstring_view name) {
  std::wstring result(path.substr(0, path.size() - FileNameOf(path).size()));
  result += name;
  return result;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  const auto lower = [](wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace kelmo
