// The registry as a key store, under a key of its own in the test prefix's registry.
#include "settings/RegistryKeyStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t testRoot[] = L"Software\\fum-tests\\registry";

class RegistryKeyStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, testRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &root_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, testRoot);
  }

  HKEY root_ = nullptr;
};

TEST_F(RegistryKeyStoreTest, StringsAreWrittenWithTheirKeysAndReadBack) {
  RegistryKeyStore store(root_);
  EXPECT_TRUE(store.WriteString(L"a\\b\\c", L"", L"default"));
  EXPECT_TRUE(store.WriteString(L"a\\b\\c", L"named", L"value"));
  EXPECT_EQ(store.ReadString(L"A\\B\\C", L""), L"default");
  EXPECT_EQ(store.ReadString(L"a\\b\\c", L"NAMED"), L"value");
  EXPECT_TRUE(store.KeyExists(L"a\\b"));
  EXPECT_TRUE(store.ValueExists(L"a\\b\\c", L"named"));
  EXPECT_FALSE(store.ValueExists(L"a\\b\\c", L"other"));
  EXPECT_EQ(store.ReadString(L"missing", L""), L"");

  DWORD number = 7;
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(root_, L"a", 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  EXPECT_TRUE(store.ValueExists(L"a", L"number"));
  EXPECT_EQ(store.ReadString(L"a", L"number"), L"");  // not a string

  EXPECT_TRUE(store.DeleteValue(L"a\\b\\c", L"named"));
  EXPECT_FALSE(store.ValueExists(L"a\\b\\c", L"named"));
}

TEST_F(RegistryKeyStoreTest, TreesAreCopiedMovedAndDeletedWithEverythingBelow) {
  RegistryKeyStore store(root_);
  store.WriteString(L"type", L"", L"Type");
  store.WriteString(L"type\\Shell\\Open\\Command", L"", L"run %1");
  store.WriteString(L"type\\DefaultIcon", L"", L"icon,1");

  EXPECT_TRUE(MoveKey(store, L"type", L"type.fum", true));
  EXPECT_FALSE(store.KeyExists(L"type"));
  EXPECT_EQ(store.ReadString(L"type.fum", L""), L"Type");
  EXPECT_EQ(store.ReadString(L"type.fum\\Shell\\Open\\Command", L""), L"run %1");
  EXPECT_EQ(store.ReadString(L"type.fum\\DefaultIcon", L""), L"icon,1");

  // A target that exists is replaced only when asked to.
  store.WriteString(L"type", L"", L"Other");
  EXPECT_FALSE(MoveKey(store, L"type.fum", L"type", false));
  EXPECT_TRUE(MoveKey(store, L"type.fum", L"type", true));
  EXPECT_EQ(store.ReadString(L"type\\Shell\\Open\\Command", L""), L"run %1");
  EXPECT_FALSE(MoveKey(store, L"missing", L"elsewhere", true));

  EXPECT_TRUE(store.DeleteTree(L"type"));
  EXPECT_FALSE(store.KeyExists(L"type"));
}

TEST_F(RegistryKeyStoreTest, AnEmptyKeyNameNeverDeletesTheRoot) {
  RegistryKeyStore store(root_);
  store.WriteString(L"keep\\below", L"", L"x");
  EXPECT_FALSE(store.DeleteTree(L""));
  EXPECT_FALSE(store.CopyTree(L"keep", L""));
  EXPECT_EQ(store.ReadString(L"keep\\below", L""), L"x");
}

}  // namespace
