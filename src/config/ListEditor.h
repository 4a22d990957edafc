// The behaviour of a settings page that edits a list of named items: a list of names with a
// typed name, New and Delete, and fields that show the selected item.
#pragma once

#include <string>

// The names as the page shows them: an editable combo box on the screen, a plain list in tests.
class NameList {
 public:
  virtual ~NameList() = default;
  virtual int Count() const = 0;
  virtual int Selection() const = 0;  // -1 for none
  virtual void Select(int index) = 0; // -1 selects nothing
  virtual void InsertAt(int index, const std::wstring& text) = 0;
  virtual void Delete(int index) = 0;
  // The index of the name equal to text, letter case ignored; -1 when there is none.
  virtual int FindExact(const std::wstring& text) const = 0;
  // The typed name.
  virtual std::wstring EditText() const = 0;
};

// Notification codes the list commands arrive with.
inline constexpr int listClicked = 0;        // a button was clicked
inline constexpr int listSelectionChange = 1; // another name was chosen from the list
inline constexpr int listEditChange = 5;      // the typed name changed

class ListEditor {
 public:
  virtual ~ListEditor() = default;

  // The list's own commands: New, Delete, a chosen name and a typed one. True when the
  // command was one of them; a command arriving while another of its handlers runs is
  // answered true and not handled again.
  bool OnListCommand(int id, int code);

  int CurrentIndex() const { return currentIndex_; }
  bool Dirty() const { return dirty_; }
  bool FieldsDisabled() const { return fieldsDisabled_; }
  bool Busy() const { return busy_; }

 protected:
  ListEditor(int listId, int newId, int deleteId)
      : listId_(listId), newId_(newId), deleteId_(deleteId) {}

  virtual NameList& Names() = 0;

  // Checks the fields of the current item; on failure tells the user, selects the current item
  // again and focuses the offending field.
  virtual bool ValidateCurrent() = 0;
  // Empties the fields and enables or disables them; no item is current afterwards.
  virtual void ClearFields(bool enable) = 0;
  // Shows item index in the fields and makes it current.
  virtual void LoadItem(int index) = 0;
  // Copies the fields into the current item.
  virtual void CopyFieldsToCurrent() = 0;
  virtual void EnableFields(bool enable) = 0;
  // Inserts a new item named name before position index of the working list.
  virtual void InsertItem(const std::wstring& name, int index) = 0;
  virtual void EraseItem(int index) = 0;
  // Whether a new item may take this name (beyond not being in the list yet).
  virtual bool NameAllowed(const std::wstring&) const { return true; }
  // Whether item index may be deleted.
  virtual bool CanDelete(int) const { return true; }
  virtual void SetModified(bool modified) = 0;

  // Validates the fields when the user changed them (or made the item): data the user did not
  // touch are never refused. False when validation failed.
  bool ValidateTouched();
  // Validates, then copies the fields into the current item when they changed; false when
  // validation failed.
  bool StoreCurrent();
  void MarkDirty();

  void OnNew();
  void OnDelete();
  void OnSelectionChange();
  void OnNameEdited();

  // Set by the pages' ClearFields, LoadItem and EnableFields.
  void SetCurrent(int index) { currentIndex_ = index; }
  void SetDirty(bool dirty) { dirty_ = dirty; }
  void SetFieldsDisabled(bool disabled) { fieldsDisabled_ = disabled; }

  // Runs a handler with the busy flag set, so that what it changes on the screen does not come
  // back as commands; restores the previous state afterwards.
  template <typename Handler>
  void WhileBusy(Handler handler) {
    bool was = busy_;
    busy_ = true;
    handler();
    busy_ = was;
  }

 private:
  int listId_;
  int newId_;
  int deleteId_;
  int currentIndex_ = -1;        // the item shown in the fields, -1 for none
  bool busy_ = false;            // one of the page's own handlers runs
  bool dirty_ = false;           // the fields hold changes not yet in the current item
  bool fieldsDisabled_ = false;  // no item is shown
};
