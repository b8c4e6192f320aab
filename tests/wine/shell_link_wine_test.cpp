// cShellLink against Wine's shell link object, on real files.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstdint>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/failure.h"
#include "common/win/com_init.h"
#include "common/win/win_handle.h"
#include "maker/win/shell_link.h"
#include "maker/win/shortcut_save.h"
#include "tests/wine/shortcut_file.h"
#include "tests/wine/wine_test_support.h"

namespace kelmo {
namespace {

using namespace testing_support;

struct ReadBack {
  bool ok = false;
  std::wstring exeFile, workDir, exeArgs, iconFile;
  int iconIdx = -1, showCmd = -1;
};

// `read` gives the outputs' values before the call.
ReadBack Read(const std::wstring& lnkFile, ReadBack read = {}) {
  read.ok = cShellLink().GetShellLinkInfo(lnkFile, read.exeFile, read.workDir, read.exeArgs,
                                          read.iconFile, read.iconIdx, read.showCmd);
  return read;
}

class ShellLinkWine : public ::testing::Test {
 protected:
  std::wstring Lnk(const std::wstring& name) const { return dir_.File(name); }
  bool Write(const std::wstring& lnkFile, const std::wstring& exeArgs, int showCmd = 5,
             const std::wstring& workDir = L"", const std::wstring& iconFile = L"", int iconIdx = 0,
             const std::wstring& description = L"Linked by kelmoCM") {
    return cShellLink().CreateShellLink(lnkFile, target_, workDir, exeArgs, iconFile, iconIdx,
                                        showCmd, description);
  }

  ScopedComInitialization com_;
  ProbeDir dir_;
  const std::wstring target_ = BinDir() + L"\\probe.exe";
};

// Arguments are stored exactly, leading spaces included; an empty working
// folder, argument string or icon file leaves its field out of the file, and
// without an icon file the index is ignored. Read back without cShellLink,
// and by GetShellLinkInfo alike, as far as 254 ANSI bytes hold: 127 characters.
TEST_F(ShellLinkWine, WrittenFieldsReadBack) {
  struct Case {
    const wchar_t* name;
    std::wstring args;
    int showCmd;
    std::wstring description, workDir, iconFile;
    int iconIdx;
  } cases[] = {
      {L"plain.lnk", L" /bn:C:\\a.exe -x /w:b.exe", 5, L"Linked by kelmoCM", L"", L"", 0},
      {L"max.lnk", L"  two leading spaces", 3, L"", L"", L"", 0},
      {L"min.lnk", L" /a:\"C:\\日本語\\プログラム.exe\" 引数", 7, L"説明つき", L"", L"", 0},
      {L"noargs.lnk", L"", 1, L"Linked by kelmoCM", L"", L"", 9},
      {L"full.lnk", L" " + std::wstring(127, L'\u65E5'), 5, L"d", dir_.path(), target_, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    const std::wstring lnk = Lnk(c.name);
    ASSERT_TRUE(Write(lnk, c.args, c.showCmd, c.workDir, c.iconFile, c.iconIdx, c.description));
    const ShortcutTexts read = ReadShortcutTexts(lnk);
    const ReadBack mine = Read(lnk);
    EXPECT_TRUE(mine.ok && mine.exeFile == read.target && mine.workDir == read.workDir &&
                mine.exeArgs == read.arguments.substr(0, 127) && mine.showCmd == c.showCmd &&
                mine.iconFile == read.iconFile && mine.iconIdx == read.iconIdx);
    EXPECT_EQ(read.target, target_);
    EXPECT_EQ(read.arguments, c.args);
    EXPECT_EQ(read.workDir, c.workDir);
    const std::uint32_t flags = ShortcutLinkFlags(lnk);
    EXPECT_EQ((flags & kHasWorkingDir) != 0, !c.workDir.empty());
    EXPECT_EQ((flags & kHasArguments) != 0, !c.args.empty());
    if (c.iconFile.empty()) {
      // Windows reads no icon location back; Wine's Resolve(SLR_UPDATE)
      // fills in the target as the icon file (index 0).
      EXPECT_TRUE(read.iconFile.empty() || read.iconFile == target_) << Narrow(read.iconFile);
      EXPECT_EQ(read.iconIdx, 0);
    } else {
      EXPECT_EQ(read.iconFile, c.iconFile);
      EXPECT_EQ(read.iconIdx, c.iconIdx);
      EXPECT_TRUE(flags & kHasIconLocation);
    }
    EXPECT_EQ(ShortcutShowCommand(lnk), c.showCmd);
    EXPECT_EQ(read.description, c.description);
  }
}

// Refused with nothing written: no target, no file name, a folder that is
// not there, a target or arguments that the ANSI code page (in which they
// reach the shell) would change. The working folder and the icon file go as
// wide text and are kept exactly.
TEST_F(ShellLinkWine, RefusedRequestsWriteNothingAndWideSettingsAreKeptExactly) {
  const std::wstring foreign = L"C:\\caf\u00E9 \uD55C";
  const std::wstring lnk = Lnk(L"texts.lnk");
  const struct {
    const char* field;
    std::wstring lnk, target, arguments, workDir, iconFile;
    bool written;
  } rows[] = {
      {"no target", lnk, L"", L" a", L"", L"", false},
      {"no shortcut file", L"", target_, L" a", L"", L"", false},
      {"missing folder", dir_.File(L"no such folder\\x.lnk"), target_, L" a", L"", L"", false},
      {"target", lnk, foreign + L"\\a.exe", L" /b:a.exe", L"", L"", false},
      {"arguments", lnk, target_, L" /b:" + foreign + L"\\a.exe", L"", L"", false},
      {"working folder", lnk, target_, L" /b:a.exe", foreign, L"", true},
      {"icon file", lnk, target_, L" /b:a.exe", L"", foreign + L"\\i.ico", true},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.field);
    EXPECT_EQ(cShellLink().CreateShellLink(r.lnk, r.target, r.workDir, r.arguments, r.iconFile, 1,
                                           5, L"d"),
              r.written);
    if (!r.written) {
      EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::wstring>{});
      continue;
    }
    const ShortcutTexts read = ReadShortcutTexts(lnk);
    EXPECT_EQ(read.workDir, r.workDir);
    if (!r.iconFile.empty()) {
      EXPECT_EQ(read.iconFile, r.iconFile);
    }
    ASSERT_TRUE(DeleteFileW(lnk.c_str()));
  }
}

// An IPersistFile whose Save writes its bytes to the file it is given and
// then fails or succeeds as told: a failing one is a save that ran out of
// disk part-way through. It counts the saves asked of it.
class ScriptedSave final : public IPersistFile {
 public:
  ScriptedSave(std::string bytes, bool succeeds) : bytes_(std::move(bytes)), succeeds_(succeeds) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(LPCOLESTR name, BOOL) override {
    ++saves;
    const UniqueHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return HRESULT_FROM_WIN32(GetLastError());
    DWORD written = 0;
    WriteFile(file.get(), bytes_.data(), static_cast<DWORD>(bytes_.size()), &written, nullptr);
    return succeeds_ ? S_OK : STG_E_MEDIUMFULL;
  }
  HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*) override { return E_NOTIMPL; }
  int saves = 0;

 private:
  std::string bytes_;
  bool succeeds_;
};

// A name the system reads as a device would send the shortcut's bytes to a
// serial port or printer: it is refused before Save is asked for anything.
TEST_F(ShellLinkWine, ShortcutIsReplacedWholeOrNotAtAll) {
  struct Case {
    const char* what;
    const wchar_t* name;
    bool existing;
    bool succeeds;
    bool result;
    const char* left;  // the file's content afterwards; null when there is none
    int saves;
  } cases[] = {
      {"save fails part-way over an existing shortcut", L"group.lnk", true, false, false,
       "old shortcut", 1},
      {"save over an existing shortcut", L"group.lnk", true, true, true, "new", 1},
      {"save fails part-way with no file there", L"group.lnk", false, false, false, nullptr, 1},
      {"save with no file there", L"group.lnk", false, true, true, "new", 1},
      {"serial port", L"COM1.lnk", false, true, false, nullptr, 0},
      {"console", L"CON.lnk", false, true, false, nullptr, 0},
      {"null device with two extensions", L"nul.txt.lnk", false, true, false, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProbeDir folder;
    const std::wstring lnk = folder.File(c.name);
    if (c.existing) {
      ScriptedSave old("old shortcut", true);
      ASSERT_TRUE(SaveShortcutFile(old, lnk));
    }
    ScriptedSave save(c.succeeds ? "new" : "ne", c.succeeds);
    EXPECT_EQ(SaveShortcutFile(save, lnk), c.result);
    EXPECT_EQ(save.saves, c.saves);
    if (c.left == nullptr) {
      EXPECT_EQ(FilesIn(folder.path()), std::vector<std::wstring>{});
    } else {
      EXPECT_EQ(FilesIn(folder.path()), std::vector<std::wstring>{c.name});
      EXPECT_EQ(ReadWholeFile(lnk), c.left);
    }
  }
}

TEST_F(ShellLinkWine, ReadingMissingOrEmptyPathFailsAndChangesNoOutput) {
  for (const std::wstring& lnk : {std::wstring(), Lnk(L"absent.lnk")}) {
    SCOPED_TRACE(Narrow(lnk));
    ReadBack untouched;
    untouched.exeFile = L"untouched";
    const ReadBack read = Read(lnk, untouched);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.exeFile, L"untouched");
  }
}

TEST_F(ShellLinkWine, ReadingWithoutComReachesTheCallerAsFailure) {
  // On a thread where COM was never initialised the object cannot be made.
  std::int32_t number = 0;
  std::thread([&] {
    try {
      Read(L"C:\\x.lnk");
    } catch (const Failure& failure) {
      number = failure.number();
    }
  }).join();
  EXPECT_EQ(number, static_cast<std::int32_t>(CO_E_NOTINITIALIZED));
}

TEST_F(ShellLinkWine, SystemFolderPathOfTheDesktop) {
  wchar_t expected[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, expected, CSIDL_DESKTOP, FALSE));
  std::wstring path = L"unchanged";
  ASSERT_TRUE(cShellLink().GetSystemFolderPath(nullptr, CSIDL_DESKTOP, path));
  EXPECT_EQ(path, expected) << "nothing after the path's end";

  std::wstring untouched = L"unchanged";
  EXPECT_FALSE(cShellLink().GetSystemFolderPath(nullptr, 0x7F, untouched));
  EXPECT_EQ(untouched, L"unchanged");
}

}  // namespace
}  // namespace kelmo
