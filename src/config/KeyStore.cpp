// Moving a key of a key store.
#include "config/KeyStore.h"

bool MoveKey(KeyStore& store, const std::wstring& from, const std::wstring& to, bool replace) {
  if (!store.KeyExists(from)) return false;
  if (store.KeyExists(to) && (!replace || !store.DeleteTree(to))) return false;
  if (!store.CopyTree(from, to)) return false;
  return store.DeleteTree(from);
}
