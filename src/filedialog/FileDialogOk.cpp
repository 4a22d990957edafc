// OK in the dialog: the typed name becomes a folder to enter or the chosen file, with the
// questions before replacing or creating a file, and the answer in the request.
#include "filedialog/FileDialogWindow.h"

#include "comun/resource.h"
#include "filedialog/TypedName.h"

namespace {

filedialog::PathKind LookUp(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return filedialog::PathKind::none;
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? filedialog::PathKind::folder
                                               : filedialog::PathKind::file;
}

bool CreateEmptyFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

void FileDialogWindow::OnOk() {
  // Read whole: a name cut at some length could name another file. One too long for the
  // buffer is refused below.
  std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(name_)) + 1, L'\0');
  typed.resize(static_cast<std::size_t>(
      GetWindowTextW(name_, typed.data(), static_cast<int>(typed.size()))));
  std::wstring defaultExtension = request_.lpstrDefExt ? request_.lpstrDefExt : L"";
  std::optional<filedialog::ChosenPath> chosen = filedialog::ResolveTypedName(
      typed, folder_, defaultExtension, request_.lpstrFile ? request_.nMaxFile : 0, LookUp);
  if (!chosen) return;
  switch (filedialog::NextOkStep(saveMode_, request_.Flags, chosen->kind)) {
    case filedialog::OkStep::enterFolder:
      TreeView_SelectItem(tree_, WalkTo(chosen->path));
      SetWindowTextW(name_, L"");
      return;
    case filedialog::OkStep::askReplace:
      if (!Ask(IDS_ASKREPLACE)) return;
      break;
    case filedialog::OkStep::askCreate:
      if (!Ask(IDS_ASKCREATE)) return;
      CreateEmptyFile(chosen->path);
      break;
    case filedialog::OkStep::create:
      // When the file cannot be made, the caller's open reports it.
      CreateEmptyFile(chosen->path);
      break;
    case filedialog::OkStep::stay:
      return;
    case filedialog::OkStep::accept:
      break;
  }
  Accept(*chosen);
}

bool FileDialogWindow::Ask(UINT textId) {
  std::wstring text = LoadDialogText(Instance(), textId);
  std::wstring caption = LoadDialogText(Instance(), IDS_PROGRAMNAME);
  return MessageBoxW(dialog_, text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void FileDialogWindow::Accept(const filedialog::ChosenPath& chosen) {
  // The path fits: ResolveTypedName measured it against the buffer.
  lstrcpynW(request_.lpstrFile, chosen.path.c_str(), static_cast<int>(request_.nMaxFile));
  request_.nFileOffset = static_cast<WORD>(chosen.namePosition);
  request_.nFileExtension = static_cast<WORD>(chosen.extensionPosition);
  if (request_.lpstrFileTitle && request_.nMaxFileTitle > 0) {
    lstrcpynW(request_.lpstrFileTitle, chosen.path.c_str() + chosen.namePosition,
              static_cast<int>(request_.nMaxFileTitle));
  }
  // The option word comes back as the tree bottom alone, for the next time.
  request_.nMaxCustFilter = static_cast<DWORD>(treeBottom_) & 0xFFFF;
  EndDialog(dialog_, TRUE);
}
