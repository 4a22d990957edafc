// The pages of the settings sheet: the base every page derives from, the base of the pages
// that edit a list of named items, and the one dialog procedure that serves them all.
#pragma once

#include <windows.h>

#include <string>

#include "config/ListEditor.h"
#include "settings/ListWrapper.h"

class SettingsPage {
 public:
  virtual ~SettingsPage() = default;

  // Binds a wrapper to the page's child control with that id.
  virtual void AttachControl(ControlWrapper& wrapper, int id);
  // False refuses the page.
  virtual bool OnInit(HWND window) = 0;
  // Stores the page's data into the settings; false when they were not valid.
  virtual bool OnApply() = 0;
  virtual bool OnCommand(int id, int code);
  // Shows the page's help topic; false without one.
  virtual bool OnHelp();
  // Whether the page's data are acceptable; leaving the page is never refused.
  virtual bool Validate() = 0;
  // Draws an owner-drawn control of the page; false when the page draws none.
  virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }

  void SetModified(bool modified);
  bool Modified() const { return modified_; }
  HWND Window() const { return window_; }

 protected:
  void SetWindow(HWND window) { window_ = window; }
  void SetHelpTopic(const wchar_t* topic) { helpTopic_ = topic; }
  // A message box of the page, with an empty caption.
  void Tell(int messageId) const;

 private:
  std::wstring helpTopic_;  // "file:fum.htm#..." for the help viewer
  HWND window_ = nullptr;
  bool modified_ = false;
};

class ListEditorPage : public SettingsPage, public ListEditor {
 public:
  // Commands of the list (New, Delete, the names) go to the list editor; a derived page handles
  // its own ids first.
  bool OnCommand(int id, int code) override;

 protected:
  ListEditorPage(int listId, int newId, int deleteId)
      : ListEditor(listId, newId, deleteId), names_(nameList_) {}

  NameList& Names() override { return names_; }
  void SetModified(bool modified) override { SettingsPage::SetModified(modified); }

  ComboWrapper nameList_;
  ControlWrapper newButton_;
  ControlWrapper deleteButton_;

 private:
  ComboNames names_;
};

// A text of the program's string table.
std::wstring ResourceText(int id);

// The dialog procedure of every page: finds the page through its window and forwards the
// dialog's messages to it.
INT_PTR CALLBACK PageDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
