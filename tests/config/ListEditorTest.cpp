// The list editor's New, Delete, choosing and typing of names, on a working list of names with
// one field each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/IgnoreCase.h"
#include "config/ListEditor.h"

namespace {

constexpr int listId = 10, newId = 11, deleteId = 12;

// The combo box: names, a selection and the typed text.
class FakeNames final : public NameList {
 public:
  int Count() const override { return static_cast<int>(items.size()); }
  int Selection() const override { return selection; }
  void Select(int index) override {
    selection = index;
    if (index >= 0) text = items[index];
  }
  void InsertAt(int index, const std::wstring& name) override {
    items.insert(items.begin() + index, name);
  }
  void Delete(int index) override { items.erase(items.begin() + index); }
  int FindExact(const std::wstring& name) const override {
    for (std::size_t i = 0; i < items.size(); ++i)
      if (SameIgnoringCase(items[i], name)) return static_cast<int>(i);
    return -1;
  }
  std::wstring EditText() const override { return text; }

  std::vector<std::wstring> items;
  int selection = -1;
  std::wstring text;
};

struct Item { std::wstring name; std::wstring value; };

// A page whose items have one field, valid when not "bad".
class FakeEditor final : public ListEditor {
 public:
  FakeEditor() : ListEditor(listId, newId, deleteId) {}
  using ListEditor::ValidateTouched;
  using ListEditor::WhileBusy;

  void Start(std::vector<Item> list) {
    items = std::move(list);
    for (const Item& item : items) names.items.push_back(item.name);
    LoadItem(0);
  }
  void Type(const std::wstring& text) {
    names.text = text;
    names.selection = -1;
    OnListCommand(listId, listEditChange);
  }
  void Choose(int index) {
    names.Select(index);
    OnListCommand(listId, listSelectionChange);
  }
  void EditField(const std::wstring& value) {
    field = value;
    MarkDirty();
  }
  std::vector<std::wstring> ItemNames() const {
    std::vector<std::wstring> result;
    for (const Item& item : items) result.push_back(item.name);
    return result;
  }

  FakeNames names;
  std::vector<Item> items;
  std::wstring field;
  bool enabled = true;
  int refusals = 0;
  bool modified = false;

 protected:
  NameList& Names() override { return names; }
  bool ValidateCurrent() override {
    if (FieldsDisabled() || CurrentIndex() < 0 || field != L"bad") return true;
    ++refusals;
    names.Select(CurrentIndex());
    return false;
  }
  void ClearFields(bool enable) override {
    field.clear();
    EnableFields(enable);
    SetCurrent(-1);
    SetDirty(false);
  }
  void LoadItem(int index) override {
    field = items[index].value;
    EnableFields(true);
    SetCurrent(index);
    SetDirty(false);
  }
  void CopyFieldsToCurrent() override { items[CurrentIndex()].value = field; }
  void EnableFields(bool enable) override {
    enabled = enable;
    SetFieldsDisabled(!enable);
  }
  void InsertItem(const std::wstring& name, int index) override {
    items.insert(items.begin() + index, Item{name, L"new"});
  }
  void EraseItem(int index) override { items.erase(items.begin() + index); }
  bool NameAllowed(const std::wstring& name) const override { return name != L"reserved"; }
  void SetModified(bool now) override { modified = now; }
};

class ListEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { editor.Start({{L"alpha", L"a"}, {L"beta", L"b"}, {L"gamma", L"g"}}); }
  FakeEditor editor;
};

TEST_F(ListEditorTest, NewGoesBeforeTheSelectedItemAndIsShown) {
  editor.Choose(1);
  editor.names.text = L"delta";
  EXPECT_TRUE(editor.OnListCommand(newId, listClicked));
  EXPECT_EQ(editor.ItemNames(), (std::vector<std::wstring>{L"alpha", L"delta", L"beta", L"gamma"}));
  EXPECT_EQ(editor.names.items, editor.ItemNames());
  EXPECT_EQ(editor.CurrentIndex(), 1);
  EXPECT_EQ(editor.names.Selection(), 1);
  EXPECT_EQ(editor.field, L"new");
  EXPECT_TRUE(editor.modified);
  // A selection the list does not hold puts the new item first.
  editor.names.selection = 4;
  editor.names.text = L"omega";
  EXPECT_TRUE(editor.OnListCommand(newId, listClicked));
  EXPECT_EQ(editor.ItemNames().front(), L"omega");
}

TEST_F(ListEditorTest, NewWithATypedNameGoesFirstAfterStoringTheShownItem) {
  editor.Choose(2);
  editor.EditField(L"changed");
  editor.Type(L"delta");  // not a name: the shown item is stored and the fields cleared
  EXPECT_EQ(editor.items[2].value, L"changed");
  EXPECT_FALSE(editor.enabled);
  EXPECT_EQ(editor.CurrentIndex(), -1);
  editor.OnListCommand(newId, listClicked);
  EXPECT_EQ(editor.ItemNames().front(), L"delta");
  EXPECT_TRUE(editor.enabled);
}

TEST_F(ListEditorTest, NewDoesNothingForAnEmptyExistingOrReservedName) {
  for (const wchar_t* name : {L"", L"BETA", L"Gamma", L"reserved"}) {
    editor.names.text = name;
    editor.OnListCommand(newId, listClicked);
    EXPECT_EQ(editor.items.size(), 3u) << name;
  }
}

TEST_F(ListEditorTest, TypingAnotherItemsNameShowsItAndDropsUnsavedChanges) {
  editor.EditField(L"unsaved");
  editor.Type(L"Gamma");
  EXPECT_EQ(editor.CurrentIndex(), 2);
  EXPECT_EQ(editor.field, L"g");
  EXPECT_EQ(editor.items[0].value, L"a");
  EXPECT_FALSE(editor.Dirty());
  editor.Type(L"ALPHA");  // the first item
  EXPECT_EQ(editor.CurrentIndex(), 0);
  EXPECT_EQ(editor.field, L"a");
}

TEST_F(ListEditorTest, ChoosingAnotherItemStoresTheShownOne) {
  editor.EditField(L"kept");
  editor.Choose(1);
  EXPECT_EQ(editor.items[0].value, L"kept");
  EXPECT_EQ(editor.field, L"b");
}

TEST_F(ListEditorTest, AnInvalidItemStaysShownWhenAnotherIsChosen) {
  editor.EditField(L"bad");
  editor.Choose(2);
  EXPECT_EQ(editor.refusals, 1);
  EXPECT_EQ(editor.CurrentIndex(), 0);
  EXPECT_EQ(editor.names.Selection(), 0);
  EXPECT_EQ(editor.items[0].value, L"a");
  editor.names.text = L"delta";
  editor.OnListCommand(newId, listClicked);
  EXPECT_EQ(editor.items.size(), 3u);
}

TEST_F(ListEditorTest, DataTheUserDidNotTouchAreNeverRefused) {
  FakeEditor stored;
  stored.Start({{L"alpha", L"bad"}, {L"beta", L"b"}});  // as read from the settings file
  EXPECT_TRUE(stored.ValidateTouched());
  stored.Choose(1);
  EXPECT_EQ(stored.refusals, 0);
  EXPECT_EQ(stored.CurrentIndex(), 1);
  // Touched, the same value is refused; a new item counts as touched.
  stored.EditField(L"bad");
  EXPECT_FALSE(stored.ValidateTouched());
  stored.EditField(L"b");
  stored.names.text = L"gamma";
  stored.OnListCommand(newId, listClicked);
  EXPECT_TRUE(stored.Dirty());
}

TEST_F(ListEditorTest, DeleteLeavesNothingSelectedAndTheFieldsEmptyAndDisabled) {
  editor.Choose(1);
  editor.OnListCommand(deleteId, listClicked);
  EXPECT_EQ(editor.ItemNames(), (std::vector<std::wstring>{L"alpha", L"gamma"}));
  EXPECT_EQ(editor.names.items, editor.ItemNames());
  EXPECT_EQ(editor.names.Selection(), -1);
  EXPECT_EQ(editor.CurrentIndex(), -1);
  EXPECT_TRUE(editor.field.empty());
  EXPECT_FALSE(editor.enabled);
  EXPECT_TRUE(editor.modified);
  // A name that is not in the list deletes nothing.
  editor.names.text = L"zeta";
  editor.OnListCommand(deleteId, listClicked);
  EXPECT_EQ(editor.items.size(), 2u);
  // While one of the page's own handlers runs, a command it causes is taken but not run.
  editor.Choose(0);
  editor.WhileBusy([&] { EXPECT_TRUE(editor.OnListCommand(deleteId, listClicked)); });
  EXPECT_EQ(editor.items.size(), 2u);
}

TEST_F(ListEditorTest, OnlyTheListsOwnCommandsAreHandled) {
  EXPECT_FALSE(editor.OnListCommand(99, listClicked));
  EXPECT_FALSE(editor.OnListCommand(newId, listSelectionChange));
  EXPECT_FALSE(editor.OnListCommand(listId, listClicked));
}

}  // namespace
