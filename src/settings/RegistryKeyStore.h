// The platform registry as a key store: keys and string values below one root key.
#pragma once

#include <windows.h>

#include "config/KeyStore.h"

class RegistryKeyStore final : public KeyStore {
 public:
  explicit RegistryKeyStore(HKEY root) : root_(root) {}

  std::wstring ReadString(const std::wstring& key, const std::wstring& value) const override;
  bool ValueExists(const std::wstring& key, const std::wstring& value) const override;
  bool WriteString(const std::wstring& key, const std::wstring& value,
                   const std::wstring& text) override;
  bool KeyExists(const std::wstring& key) const override;
  bool DeleteValue(const std::wstring& key, const std::wstring& value) override;
  // Never deletes the root itself: an empty key name is refused.
  bool DeleteTree(const std::wstring& key) override;
  bool CopyTree(const std::wstring& source, const std::wstring& target) override;

 private:
  HKEY root_;
};
