// The open and save dialog of the program. The request is the platform's OPENFILENAMEW: the
// caller fills it, and the chosen path comes back in it.
#pragma once

#include <windows.h>
#include <commdlg.h>

// Runs the dialog in its open mode; true when the user chose a file.
bool OpenFileDialog(OPENFILENAMEW& request);
// Runs the dialog in its save mode; true when the user chose a file.
bool SaveFileDialog(OPENFILENAMEW& request);
