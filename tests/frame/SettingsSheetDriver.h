// Works the settings sheet of a running fum.exe through the messages its controls get when a
// user works them.
#pragma once

#include <windows.h>

#include <string>

#include "FumProcess.h"
#include "comun/resource.h"

class SheetDriver {
 public:
  explicit SheetDriver(const FumProcess& fum) : fum_(fum) {}

  // Posts Settings... and waits for the sheet.
  bool Open();
  HWND Window() const { return sheet_; }
  int PageCount() const;
  // Shows page index as a tap on its tab does.
  void ShowPage(int index) const;
  HWND Page() const;
  HWND Control(int id) const { return GetDlgItem(Page(), id); }

  // A field's text.
  std::wstring Text(int id) const;
  // Sets a field's text; an edit field tells the page itself.
  void SetText(int id, const std::wstring& text) const;
  // Types a name into an editable combo box.
  void TypeName(int id, const std::wstring& text) const;
  // Clicks a button and waits until the page has handled it.
  void Click(int id) const;
  // Clicks a button without waiting, for a click that brings up a message box.
  void ClickLater(int id) const;
  // Chooses an entry of a list (combo box or list box) by its text.
  void Choose(int id, const std::wstring& text) const;
  // Chooses a section of the Document and Classes pages; the index of a section, -1 if absent.
  void ChooseSection(const std::wstring& name) const { Choose(IDC_CLS_SECTION, name); }
  int FindSection(const std::wstring& name) const;

  void PressOk() const;
  // Waits for a message box of the sheet and closes it with OK, returning its texts.
  bool AnswerMessage(std::wstring* caption, std::wstring* text) const;
  bool WaitClosed(DWORD timeoutMs = 5000) const;

 private:
  const FumProcess& fum_;
  HWND sheet_ = nullptr;
};
