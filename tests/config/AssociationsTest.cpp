// Taking extensions over and giving them back, on a key store in memory.
#include "config/Associations.h"

#include <gtest/gtest.h>

#include "MemoryKeyStore.h"

namespace {

const std::wstring program = L"C:\\fum\\fum.exe";
const std::wstring openCommand = L"\"C:\\fum\\fum.exe\" \"%1\"";

TEST(Associations, ExtensionChecksTypeKeysAndIcons) {
  EXPECT_EQ(CheckExtension(L"txt"), ExtensionCheck::noDot);
  EXPECT_EQ(CheckExtension(L".t xt"), ExtensionCheck::forbiddenCharacter);
  for (const wchar_t* bad : {L".a\\", L".a/", L".a:", L".a*", L".a?", L".a\"", L".a<", L".a>", L".a|"})
    EXPECT_EQ(CheckExtension(bad), ExtensionCheck::forbiddenCharacter) << bad;
  EXPECT_EQ(CheckExtension(L".log"), ExtensionCheck::ok);
  EXPECT_EQ(TypeKeyOf(L".txt"), L"txtfile");
  EXPECT_EQ(IconNumberOf(L".cpp"), 3);
  EXPECT_EQ(IconNumberOf(L".CPP"), 1);
  EXPECT_EQ(IconNumberOf(L".tex"), 2);
  EXPECT_EQ(IconNumberOf(L".gp"), 4);
  EXPECT_EQ(IconNumberOf(L".h"), 5);
}

// A key moves over another only when asked to, and its source goes only once it is copied.
TEST(Associations, AKeyMovesOverAnotherOnlyWhenAskedAndOnlyOnceCopied) {
  MemoryKeyStore store;
  store.WriteString(L"a", L"", L"A");
  store.WriteString(L"b", L"", L"B");
  EXPECT_FALSE(MoveKey(store, L"a", L"b", false));
  EXPECT_EQ(store.ReadString(L"b", L""), L"B");
  EXPECT_TRUE(store.KeyExists(L"a"));
  struct CopyRefused : MemoryKeyStore {
    bool CopyTree(const std::wstring&, const std::wstring&) override { return false; }
  } refusing;
  refusing.WriteString(L"a", L"", L"A");
  EXPECT_FALSE(MoveKey(refusing, L"a", L"c", true));
  EXPECT_EQ(refusing.ReadString(L"a", L""), L"A");
}

class AssocTest : public ::testing::Test {
 protected:
  // Opens the page on the remembered extensions, as the sheet does each time, for the program
  // at a path.
  AssocList Open(const std::wstring& at = program) {
    AssocList list(store, at);
    list.Load(remembered);
    return list;
  }
  void Ok(AssocList& list) { remembered = list.Apply(list.Listed()); }

  MemoryKeyStore store;
  std::vector<std::wstring> remembered;
};

TEST_F(AssocTest, ANewExtensionGetsATypeKeyOfTheProgramsOwnWithCommandAndIcon) {
  AssocList list = Open();
  EXPECT_TRUE(list.Add(L".log", L""));
  EXPECT_FALSE(list.Add(L".LOG", L"again"));
  EXPECT_TRUE(list.Add(L".cpp", L"C++ source"));
  Ok(list);
  EXPECT_EQ(store.ReadString(L".log", L""), L"fum.log");
  EXPECT_EQ(store.ReadString(L"fum.log", L""), L"logfile");
  EXPECT_EQ(store.ReadString(L"fum.log\\Shell\\Open\\Command", L""), openCommand);
  EXPECT_EQ(store.ReadString(L"fum.log\\DefaultIcon", L""), program + L",-1");
  EXPECT_EQ(store.ReadString(L"fum.cpp", L""), L"C++ source");
  EXPECT_EQ(store.ReadString(L"fum.cpp\\DefaultIcon", L""), program + L",-3");
  EXPECT_FALSE(store.ValueExists(L".log", L"fumprevassoc"));
  EXPECT_EQ(remembered, (std::vector<std::wstring>{L".cpp", L".log"}));
  EXPECT_TRUE(ReadAssociation(store, L".log", program).associated);
}

TEST_F(AssocTest, AnExtensionOfAnotherTypeGetsItBackWhenRemoved) {
  store.WriteString(L".zzp", L"", L"othertype");
  store.WriteString(L"othertype", L"", L"Other");
  AssocList list = Open();
  EXPECT_EQ(list.DescriptionOf(L".zzp"), L"Other");
  list.Add(L".zzp", L"");
  Ok(list);
  EXPECT_EQ(store.ReadString(L".zzp", L"fumprevassoc"), L"othertype");
  EXPECT_EQ(store.ReadString(L".zzp", L""), L"fum.zzp");

  AssocList again = Open();
  ASSERT_EQ(again.Listed(), std::vector<std::wstring>{L".zzp"});
  EXPECT_TRUE(again.Remove(L".zzp"));
  EXPECT_FALSE(again.Remove(L".zzp"));  // no longer listed
  Ok(again);
  EXPECT_EQ(store.ReadString(L".zzp", L""), L"othertype");
  EXPECT_FALSE(store.ValueExists(L".zzp", L"fumprevassoc"));
  EXPECT_FALSE(store.KeyExists(L"fum.zzp"));
  EXPECT_EQ(store.ReadString(L"othertype", L""), L"Other");
  EXPECT_TRUE(remembered.empty());
}

TEST_F(AssocTest, TypeKeysOfOtherProgramsAreNeverChangedThoughExtensionsShareThem) {
  // Two extensions share a type; one of them also has the name the program's key once had.
  store.WriteString(L".htm", L"", L"htmlfile");
  store.WriteString(L".html", L"", L"htmlfile");
  store.WriteString(L"htmlfile\\Shell\\Open\\Command", L"", L"browser.exe %1");
  const MemoryKeyStore before = store;
  AssocList list = Open();
  list.Add(L".html", L"Page");
  Ok(list);
  EXPECT_EQ(store.ReadString(L".html", L""), L"fum.html");
  EXPECT_EQ(store.ReadString(L".htm", L""), L"htmlfile");
  EXPECT_EQ(store.ReadString(L"htmlfile\\Shell\\Open\\Command", L""), L"browser.exe %1");
  EXPECT_FALSE(ReadAssociation(store, L".htm", program).associated);

  AssocList again = Open();
  again.Remove(L".html");
  Ok(again);
  EXPECT_EQ(store.keys, before.keys);
}

TEST_F(AssocTest, RemovingAnExtensionAnotherProgramTookSinceLeavesItsTypeAlone) {
  store.WriteString(L".foo", L"", L"Other.foo");
  store.WriteString(L"Other.foo\\Shell\\Open\\Command", L"", L"other.exe %1");
  AssocList list = Open();
  list.Add(L".foo", L"");
  Ok(list);
  // Another program points the extension to its own type; the program's type key stays listed.
  store.WriteString(L".foo", L"", L"Another.foo");
  store.WriteString(L"Another.foo\\Shell\\Open\\Command", L"", L"another.exe %1");
  // Deleted and added again on the page, the extension opens with the program once more.
  AssocList retaken = Open();
  ASSERT_TRUE(retaken.Remove(L".foo"));
  retaken.Add(L".foo", L"");
  Ok(retaken);
  EXPECT_EQ(store.ReadString(L".foo", L""), L"fum.foo");
  EXPECT_EQ(store.ReadString(L".foo", L"fumprevassoc"), L"Another.foo");
  // Taken again by the other program, then taken off the list: the other program keeps it.
  store.WriteString(L".foo", L"", L"Another.foo");
  AssocList again = Open();
  ASSERT_TRUE(again.Remove(L".foo"));
  Ok(again);
  EXPECT_EQ(store.ReadString(L".foo", L""), L"Another.foo");
  EXPECT_EQ(store.ReadString(L"Another.foo\\Shell\\Open\\Command", L""), L"another.exe %1");
  EXPECT_EQ(store.ReadString(L"Other.foo\\Shell\\Open\\Command", L""), L"other.exe %1");
  EXPECT_FALSE(store.KeyExists(L"fum.foo"));
  EXPECT_FALSE(store.ValueExists(L".foo", L"fumprevassoc"));
}

TEST_F(AssocTest, TakenOverAgainAfterTheProgramMovedTheFirstTypeIsStillGivenBack) {
  store.WriteString(L".txt", L"", L"txtfile");
  store.WriteString(L"txtfile\\Shell\\Open\\Command", L"", L"notepad.exe %1");
  const MemoryKeyStore before = store;
  AssocList list = Open();
  list.Add(L".txt", L"");
  Ok(list);
  // Moved, the program no longer opens the extension: it leaves the list and is added again.
  const std::wstring moved = L"D:\\tools\\fum.exe";
  AssocList again = Open(moved);
  EXPECT_TRUE(again.Listed().empty());
  again.Add(L".txt", L"");
  Ok(again);
  EXPECT_EQ(store.ReadString(L".txt", L"fumprevassoc"), L"txtfile");
  EXPECT_EQ(store.ReadString(L"fum.txt\\Shell\\Open\\Command", L""), OpenCommandOf(moved));
  AssocList third = Open(moved);
  third.Remove(L".txt");
  Ok(third);
  EXPECT_EQ(store.keys, before.keys);
}

TEST_F(AssocTest, AKeyAnEarlierVersionTookOverGetsBackWhatItReplaced) {
  // As earlier versions left it: the extension's type key taken over, the old one kept aside.
  store.WriteString(L".abc", L"", L"abcfile");
  store.WriteString(L".abc", L"fumprevassoc", L"abcfile");
  store.WriteString(L"abcfile\\Shell\\Open\\Command", L"", openCommand);
  store.WriteString(L"abcfile.fum\\Shell\\Open\\Command", L"", L"other.exe %1");
  remembered = {L".abc"};
  AssocList list = Open();
  ASSERT_TRUE(list.Remove(L".abc"));
  Ok(list);
  EXPECT_FALSE(store.KeyExists(L"abcfile.fum"));
  EXPECT_EQ(store.ReadString(L"abcfile\\Shell\\Open\\Command", L""), L"other.exe %1");
  EXPECT_EQ(store.ReadString(L".abc", L""), L"abcfile");
  EXPECT_FALSE(store.ValueExists(L".abc", L"fumprevassoc"));
}

TEST_F(AssocTest, DeleteThenAddBeforeOkKeepsTheAssociation) {
  AssocList list = Open();
  list.Add(L".zzq", L"");
  Ok(list);
  AssocList again = Open();
  again.Remove(L".zzq");
  EXPECT_FALSE(again.IsListed(L".zzq"));
  again.Add(L".zzq", L"");
  Ok(again);
  EXPECT_EQ(store.ReadString(L".zzq", L""), L"fum.zzq");
  EXPECT_EQ(remembered, std::vector<std::wstring>{L".zzq"});
}

TEST_F(AssocTest, RemovedWithoutARecordedTypeKeepsItsEntries) {
  AssocList list = Open();
  list.Add(L".new", L"");
  Ok(list);
  // Taken from a type whose key did not exist: removed in the same session, it stays.
  store.WriteString(L".old", L"", L"gone");
  list.Add(L".old", L"");
  Ok(list);
  list.Remove(L".old");
  Ok(list);
  EXPECT_EQ(store.ReadString(L".old", L""), L"fum.old");
  AssocList again = Open();
  again.Remove(L".new");
  Ok(again);
  EXPECT_EQ(store.ReadString(L".new", L""), L"fum.new");
  EXPECT_TRUE(store.KeyExists(L"fum.new"));
  EXPECT_TRUE(remembered.empty());
}

TEST_F(AssocTest, AnExtensionWithAnEmptyTypeKeepsIt) {
  store.WriteString(L".e", L"", L"");
  store.WriteString(L".e", L"fumprevassoc", L"old");
  store.WriteString(L"old", L"", L"Old type");
  store.WriteString(L"efile\\Shell\\Open\\Command", L"", openCommand);
  remembered = {L".e"};
  AssocList list = Open();
  EXPECT_TRUE(list.Remove(L".e"));
  Ok(list);
  EXPECT_EQ(store.ReadString(L".e", L""), L"");
  EXPECT_EQ(store.ReadString(L"old", L""), L"Old type");
}

TEST_F(AssocTest, AnExtensionTakenOverByAnotherProgramLeavesTheList) {
  AssocList list = Open();
  list.Add(L".one", L"");
  list.Add(L".two", L"");
  Ok(list);
  store.WriteString(L"fum.two\\Shell\\Open\\Command", L"", L"other.exe %1");
  EXPECT_EQ(Open().Listed(), std::vector<std::wstring>{L".one"});
}

}  // namespace
