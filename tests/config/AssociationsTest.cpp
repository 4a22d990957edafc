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
  // Opens the page on the remembered extensions, as the sheet does each time.
  AssocList Open() {
    AssocList list(store, program);
    list.Load(remembered);
    return list;
  }
  void Ok(AssocList& list) { remembered = list.Apply(list.Listed()); }

  MemoryKeyStore store;
  std::vector<std::wstring> remembered;
};

TEST_F(AssocTest, ANewExtensionGetsTheTypeKeyCommandAndIcon) {
  AssocList list = Open();
  EXPECT_TRUE(list.Add(L".log", L""));
  EXPECT_FALSE(list.Add(L".LOG", L"again"));
  EXPECT_TRUE(list.Add(L".cpp", L"C++ source"));
  Ok(list);
  EXPECT_EQ(store.ReadString(L".log", L""), L"logfile");
  EXPECT_EQ(store.ReadString(L"logfile", L""), L"logfile");
  EXPECT_EQ(store.ReadString(L"logfile\\Shell\\Open\\Command", L""), openCommand);
  EXPECT_EQ(store.ReadString(L"logfile\\DefaultIcon", L""), program + L",-1");
  EXPECT_EQ(store.ReadString(L"cppfile", L""), L"C++ source");
  EXPECT_EQ(store.ReadString(L"cppfile\\DefaultIcon", L""), program + L",-3");
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
  EXPECT_EQ(store.ReadString(L".zzp", L""), L"zzpfile");

  AssocList again = Open();
  ASSERT_EQ(again.Listed(), std::vector<std::wstring>{L".zzp"});
  EXPECT_TRUE(again.Remove(L".zzp"));
  EXPECT_FALSE(again.Remove(L".zzp"));  // no longer listed
  Ok(again);
  EXPECT_EQ(store.ReadString(L".zzp", L""), L"othertype");
  EXPECT_FALSE(store.ValueExists(L".zzp", L"fumprevassoc"));
  EXPECT_FALSE(store.KeyExists(L"zzpfile"));
  EXPECT_EQ(store.ReadString(L"othertype", L""), L"Other");
  EXPECT_TRUE(remembered.empty());
}

TEST_F(AssocTest, ATypeKeyOfTheSameNameIsKeptAsBackupAndRestored) {
  store.WriteString(L".abc", L"", L"abcfile");
  store.WriteString(L"abcfile\\Shell\\Open\\Command", L"", L"other.exe %1");
  store.WriteString(L"abcfile.fum", L"", L"a stale backup, replaced");
  AssocList list = Open();
  list.Add(L".abc", L"Mine");
  Ok(list);
  EXPECT_EQ(store.ReadString(L"abcfile.fum\\Shell\\Open\\Command", L""), L"other.exe %1");
  EXPECT_EQ(store.ReadString(L"abcfile\\Shell\\Open\\Command", L""), openCommand);

  AssocList again = Open();
  again.Remove(L".abc");
  Ok(again);
  EXPECT_FALSE(store.KeyExists(L"abcfile.fum"));
  EXPECT_EQ(store.ReadString(L"abcfile\\Shell\\Open\\Command", L""), L"other.exe %1");
  EXPECT_EQ(store.ReadString(L".abc", L""), L"abcfile");
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
  EXPECT_EQ(store.ReadString(L".zzq", L""), L"zzqfile");
  EXPECT_EQ(remembered, std::vector<std::wstring>{L".zzq"});
}

TEST_F(AssocTest, RemovedWithoutARecordedTypeKeepsItsEntries) {
  AssocList list = Open();
  list.Add(L".new", L"");
  Ok(list);
  // Taken from a type whose key "oldfile" did not exist: removed in the same session, it stays.
  store.WriteString(L".old", L"", L"gone");
  list.Add(L".old", L"");
  Ok(list);
  list.Remove(L".old");
  Ok(list);
  EXPECT_EQ(store.ReadString(L".old", L""), L"oldfile");
  AssocList again = Open();
  again.Remove(L".new");
  Ok(again);
  EXPECT_EQ(store.ReadString(L".new", L""), L"newfile");
  EXPECT_TRUE(store.KeyExists(L"newfile"));
  EXPECT_TRUE(remembered.empty());
}

TEST_F(AssocTest, AnEmptyTypeIsNeitherRestoredNorDeleted) {
  store.WriteString(L".e", L"", L"");
  store.WriteString(L".e", L"fumprevassoc", L"old");
  store.WriteString(L"efile\\Shell\\Open\\Command", L"", openCommand);
  remembered = {L".e"};
  AssocList list = Open();
  EXPECT_TRUE(list.Remove(L".e"));
  Ok(list);
  EXPECT_EQ(store.ReadString(L".e", L"fumprevassoc"), L"old");
}

TEST_F(AssocTest, AnExtensionTakenOverByAnotherProgramLeavesTheList) {
  AssocList list = Open();
  list.Add(L".one", L"");
  list.Add(L".two", L"");
  Ok(list);
  store.WriteString(L"twofile\\Shell\\Open\\Command", L"", L"other.exe %1");
  EXPECT_EQ(Open().Listed(), std::vector<std::wstring>{L".one"});
}

}  // namespace
