// The open and save dialog's entry points: one run of the program's own dialog each, with what
// it keeps from run to run.
#include "filedialog/FileDialog.h"

#include "filedialog/FileDialogWindow.h"

namespace {

// The sort order and show-folders last chosen, for the next run within this run of the program.
DialogMemory memory;
// The dialog is modal: a request that arrives while it is shown (from a window the nested
// message loop serves) is turned down instead of stacking a second dialog.
bool running = false;

bool RunDialog(OPENFILENAMEW& request, bool saveMode) {
  if (running || !request.lpstrFile || request.nMaxFile == 0) return false;
  running = true;
  bool chosen = FileDialogWindow(request, saveMode, memory).Run();
  running = false;
  return chosen;
}

}  // namespace

bool OpenFileDialog(OPENFILENAMEW& request) { return RunDialog(request, false); }

bool SaveFileDialog(OPENFILENAMEW& request) { return RunDialog(request, true); }
