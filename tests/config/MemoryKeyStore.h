// A key store held in memory, for the tests of the association logic: keys by their full
// path, compared with letter case ignored, each with its string values.
#pragma once

#include <map>
#include <string>

#include "config/Associations.h"
#include "config/KeyStore.h"

class MemoryKeyStore : public KeyStore {
 public:
  using Values = std::map<std::wstring, std::wstring, IgnoreCaseLess>;

  std::wstring ReadString(const std::wstring& key, const std::wstring& value) const override {
    auto found = keys.find(key);
    if (found == keys.end()) return {};
    auto text = found->second.find(value);
    return text == found->second.end() ? std::wstring() : text->second;
  }
  bool ValueExists(const std::wstring& key, const std::wstring& value) const override {
    auto found = keys.find(key);
    return found != keys.end() && found->second.count(value);
  }
  bool WriteString(const std::wstring& key, const std::wstring& value,
                   const std::wstring& text) override {
    for (std::size_t at = key.find(L'\\'); at != std::wstring::npos; at = key.find(L'\\', at + 1))
      keys[key.substr(0, at)];
    keys[key][value] = text;
    return true;
  }
  bool KeyExists(const std::wstring& key) const override { return keys.count(key) != 0; }
  bool DeleteValue(const std::wstring& key, const std::wstring& value) override {
    auto found = keys.find(key);
    return found != keys.end() && found->second.erase(value) != 0;
  }
  bool DeleteTree(const std::wstring& key) override {
    if (key.empty() || !keys.count(key)) return false;
    for (auto it = keys.begin(); it != keys.end();)
      it = IsWithin(it->first, key) ? keys.erase(it) : std::next(it);
    return true;
  }
  bool CopyTree(const std::wstring& source, const std::wstring& target) override {
    if (!keys.count(source)) return false;
    std::map<std::wstring, Values, IgnoreCaseLess> copies;
    for (const auto& [name, values] : keys)
      if (IsWithin(name, source)) copies[target + name.substr(source.size())] = values;
    for (auto& [name, values] : copies) keys[name] = values;
    return true;
  }

  std::map<std::wstring, Values, IgnoreCaseLess> keys;

 private:
  static bool IsWithin(const std::wstring& name, const std::wstring& key) {
    IgnoreCaseLess less;
    std::wstring head = name.substr(0, key.size());
    bool same = !less(head, key) && !less(key, head);
    return same && (name.size() == key.size() || name[key.size()] == L'\\');
  }
};
