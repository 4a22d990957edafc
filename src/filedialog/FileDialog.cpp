// The open and save dialog. For now the platform's own dialogs serve, with the same request;
// the option word (nMaxCustFilter without a custom filter) passes through unchanged.
#include "filedialog/FileDialog.h"

namespace {

// What the platform's dialogs need beyond the request: the newer look, and the current folder
// left alone.
constexpr DWORD platformFlags = OFN_EXPLORER | OFN_NOCHANGEDIR;

}  // namespace

bool OpenFileDialog(OPENFILENAMEW& request) {
  request.Flags |= platformFlags;
  return GetOpenFileNameW(&request) != FALSE;
}

bool SaveFileDialog(OPENFILENAMEW& request) {
  request.Flags |= platformFlags;
  return GetSaveFileNameW(&request) != FALSE;
}
