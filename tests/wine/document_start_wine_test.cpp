// A launch item may name a document instead of a program: the shell starts
// the program its type is associated with.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/launcher_fixture.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

constexpr wchar_t kExtension[] = L".kelmodoc";
constexpr wchar_t kType[] = L"KelmoTestDocument";

// Associates documents of type kExtension with the probe for one test: the
// probe reports with the tag "doc" and the document's path as argument. The
// probe is named by its short path: the shell fails to start an associated
// program whose command holds a path near MAX_PATH.
class DocumentAssociation {
 public:
  DocumentAssociation() {
    const std::wstring command = L"\"" + ShortPath(BinDir() + L"\\probe.exe") + L"\" doc \"%1\"";
    Set(kExtension, kType);
    Set(std::wstring(kType) + L"\\shell\\open\\command", command);
  }
  ~DocumentAssociation() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kExtension);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kType);
  }
  DocumentAssociation(const DocumentAssociation&) = delete;
  DocumentAssociation& operator=(const DocumentAssociation&) = delete;

 private:
  static void Set(const std::wstring& keyName, const std::wstring& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
};

TEST_F(LauncherWine, WaitedDocumentStartsItsAssociatedProgramAndTheRunGoesOn) {
  const DocumentAssociation association;
  const std::wstring document = dir_.File(L"notes") + kExtension;
  CreateReleaseFile(document);
  StartedProcess launcher = StartLauncher(L"/w:" + document + L" /a:" + Probe(L"after"));
  // The waited document's program ends at once; the run then goes on.
  Report(L"after");
  const ProbeReport opened = Report(L"doc");
  EXPECT_EQ(opened.Text(L"args"), L"doc \"" + document + L"\"");
  EXPECT_TRUE(WaitForExit(launcher).has_value());
}

}  // namespace
}  // namespace kelmo
