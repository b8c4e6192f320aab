#include "maker/opened_group.h"

#include "maker/path_parts.h"

namespace kelmo {

void OpenedGroupState::Opened(const OpenedGroup& group) {
  kept_ = Kept{group.name, group.launcher, group.contents, group.file};
}

void OpenedGroupState::Forget() { kept_.reset(); }

void OpenedGroupState::Made(const std::wstring& name, LauncherChoice launcher,
                            const ShellLinkRequest& request) {
  kept_ =
      Kept{name, launcher, {request.exeFile, request.exeArgs, request.settings}, request.lnkFile};
}

std::wstring OpenedGroupState::OfferedName() const { return kept_ ? kept_->name : std::wstring(); }

std::wstring OpenedGroupState::ShortcutFile() const { return kept_ ? kept_->file : std::wstring(); }

bool OpenedGroupState::IsShortcutFile(const std::wstring& path) const {
  return kept_ && !kept_->file.empty() && EqualsIgnoringAsciiCase(path, kept_->file);
}

ShellLinkRequest OpenedGroupState::Request(const std::wstring& arguments, LauncherChoice launcher,
                                           const std::wstring& makerFolder) const {
  ShellLinkRequest request;
  request.exeArgs = arguments;
  if (!kept_) {
    request.exeFile = BuildTargetPath(makerFolder, launcher);
    return request;
  }
  const ShortcutContents& kept = kept_->contents;
  request.exeFile = launcher == kept_->launcher
                        ? kept.target
                        : WithFileName(kept.target, LauncherFileName(launcher));
  request.settings = kept.settings;
  return request;
}

}  // namespace kelmo
