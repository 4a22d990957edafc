// A store of keys holding named string values, with subkeys separated by backslashes: the
// platform registry's classes root in the program, a map in tests. Key and value names compare
// with letter case ignored; an empty value name is the key's default value.
#pragma once

#include <string>

class KeyStore {
 public:
  virtual ~KeyStore() = default;
  // The text of a string value; empty when the key or value is missing or not a string.
  virtual std::wstring ReadString(const std::wstring& key, const std::wstring& value) const = 0;
  virtual bool ValueExists(const std::wstring& key, const std::wstring& value) const = 0;
  // Writes a string value, creating the key (and the keys above it) when missing.
  virtual bool WriteString(const std::wstring& key, const std::wstring& value,
                           const std::wstring& text) = 0;
  virtual bool KeyExists(const std::wstring& key) const = 0;
  virtual bool DeleteValue(const std::wstring& key, const std::wstring& value) = 0;
  // Deletes a key with everything below it.
  virtual bool DeleteTree(const std::wstring& key) = 0;
  // Creates target and copies every value and subkey of source into it.
  virtual bool CopyTree(const std::wstring& source, const std::wstring& target) = 0;
};

// Moves the key from to the name to with everything below it. Fails when from is missing, and
// when to exists unless replace is set and to can be deleted.
bool MoveKey(KeyStore& store, const std::wstring& from, const std::wstring& to, bool replace);
