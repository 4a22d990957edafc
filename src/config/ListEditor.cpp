// The list editor's commands: New, Delete, choosing and typing a name.
#include "config/ListEditor.h"

bool ListEditor::OnListCommand(int id, int code) {
  void (ListEditor::*handler)() = nullptr;
  if (id == newId_ && code == listClicked) handler = &ListEditor::OnNew;
  else if (id == deleteId_ && code == listClicked) handler = &ListEditor::OnDelete;
  else if (id == listId_ && code == listSelectionChange) handler = &ListEditor::OnSelectionChange;
  else if (id == listId_ && code == listEditChange) handler = &ListEditor::OnNameEdited;
  if (!handler) return false;
  if (busy_) return true;
  WhileBusy([&] { (this->*handler)(); });
  return true;
}

bool ListEditor::ValidateTouched() { return !dirty_ || ValidateCurrent(); }

bool ListEditor::StoreCurrent() {
  if (!ValidateTouched()) return false;
  if (currentIndex_ < 0 || !dirty_) return true;
  CopyFieldsToCurrent();
  dirty_ = false;
  return true;
}

void ListEditor::MarkDirty() {
  dirty_ = true;
  SetModified(true);
}

void ListEditor::OnNew() {
  NameList& names = Names();
  std::wstring name = names.EditText();
  if (name.empty() || names.FindExact(name) >= 0 || !NameAllowed(name)) return;
  if (!StoreCurrent()) return;
  int index = names.Selection();
  if (index < 0 || index >= names.Count()) index = 0;
  InsertItem(name, index);
  names.InsertAt(index, name);
  names.Select(index);
  LoadItem(index);
  // Made by the user: its fields are checked like those the user changed.
  MarkDirty();
}

void ListEditor::OnDelete() {
  NameList& names = Names();
  std::wstring name = names.EditText();
  if (name.empty()) return;
  int index = names.FindExact(name);
  if (index < 0 || !CanDelete(index)) return;
  names.Delete(index);
  EraseItem(index);
  names.Select(-1);
  SetModified(true);
  ClearFields(false);
}

void ListEditor::OnSelectionChange() {
  if (!StoreCurrent()) return;
  int selection = Names().Selection();
  EnableFields(selection != -1);
  if (selection != -1) LoadItem(selection);
}

void ListEditor::OnNameEdited() {
  int index = Names().FindExact(Names().EditText());
  if (index >= 0) {
    LoadItem(index);
  } else if (StoreCurrent()) {
    ClearFields(false);
  }
}
