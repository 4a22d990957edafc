// The list-box and combo-box wrappers of the settings pages, on the program's control wrapper.
#pragma once

#include <windows.h>

#include <string>

#include "config/ListEditor.h"
#include "pocketpc/ControlWrapperWin32.h"

// A list box or a combo box: each operation sends the form of the message its kind takes.
class ListWrapper : public ControlWrapper {
 public:
  virtual bool IsCombo() const = 0;

  int Count() const;
  int Selection() const;  // -1 for none
  void Select(int index) const;
  int Add(const std::wstring& text) const;  // the index the text went to
  void InsertAt(int index, const std::wstring& text) const;
  void Delete(int index) const;
  // The index of the item equal to text, letter case ignored; -1 for none.
  int FindExact(const std::wstring& text) const;
  std::wstring ItemText(int index) const;
  LPARAM ItemData(int index) const;
  void SetItemData(int index, LPARAM value) const;
  void Reset() const;
  // The first item holding value, or -1.
  int FindByData(LPARAM value) const;

 private:
  UINT Pick(UINT listMessage, UINT comboMessage) const {
    return IsCombo() ? comboMessage : listMessage;
  }
};

class ListBoxWrapper final : public ListWrapper {
 public:
  bool IsCombo() const override { return false; }
};

class ComboWrapper final : public ListWrapper {
 public:
  bool IsCombo() const override { return true; }
};

// A combo box as the name list of a list editor; its edit field holds the typed name.
class ComboNames final : public NameList {
 public:
  explicit ComboNames(ComboWrapper& combo) : combo_(combo) {}
  int Count() const override { return combo_.Count(); }
  int Selection() const override { return combo_.Selection(); }
  void Select(int index) override { combo_.Select(index); }
  void InsertAt(int index, const std::wstring& text) override { combo_.InsertAt(index, text); }
  void Delete(int index) override { combo_.Delete(index); }
  int FindExact(const std::wstring& text) const override { return combo_.FindExact(text); }
  std::wstring EditText() const override { return combo_.GetText(); }

 private:
  ComboWrapper& combo_;
};
