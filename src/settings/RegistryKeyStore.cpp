// Reading, writing, deleting and copying registry keys and string values.
#include "settings/RegistryKeyStore.h"

#include <vector>

namespace {

// An open registry key, closed when it goes.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool Open(HKEY parent, const std::wstring& name, REGSAM access) {
    return RegOpenKeyExW(parent, name.c_str(), 0, access, &key_) == ERROR_SUCCESS;
  }
  bool Create(HKEY parent, const std::wstring& name) {
    return RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The names of a key's subkeys, or of its values, in index order.
std::vector<std::wstring> SubkeyNames(HKEY key) {
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return {};
  std::vector<std::wstring> names;
  std::vector<wchar_t> name(longest + 1);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS)
      names.emplace_back(name.data(), length);
  }
  return names;
}

bool DeleteTreeUnder(HKEY parent, const std::wstring& name) {
  if (name.empty()) return false;
  bool deleted = RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
  if (!deleted) {
    OpenKey key;
    if (key.Open(parent, name, KEY_READ | KEY_WRITE)) {
      std::vector<std::wstring> subkeys = SubkeyNames(key.Get());
      for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) DeleteTreeUnder(key.Get(), *it);
    }
    deleted = RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
  }
  RegFlushKey(parent);
  return deleted;
}

bool CopyValues(HKEY source, HKEY target) {
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(source, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                       &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  bool copied = true;
  std::vector<wchar_t> name(longestName + 1);
  std::vector<BYTE> data(longestData + 1);
  for (DWORD i = count; i-- > 0;) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(source, i, name.data(), &nameLength, nullptr, &type, data.data(),
                      &dataSize) != ERROR_SUCCESS ||
        RegSetValueExW(target, name.data(), 0, type, data.data(), dataSize) != ERROR_SUCCESS)
      copied = false;
  }
  return copied;
}

bool CopyTreeInto(HKEY source, HKEY targetParent, const std::wstring& targetName) {
  OpenKey target;
  if (!target.Create(targetParent, targetName)) return false;
  bool copied = true;
  std::vector<std::wstring> subkeys = SubkeyNames(source);
  for (auto it = subkeys.rbegin(); it != subkeys.rend(); ++it) {
    OpenKey subkey;
    copied = subkey.Open(source, *it, KEY_READ) && CopyTreeInto(subkey.Get(), target.Get(), *it) &&
             copied;
  }
  return CopyValues(source, target.Get()) && copied;
}

}  // namespace

std::wstring RegistryKeyStore::ReadString(const std::wstring& key,
                                          const std::wstring& value) const {
  OpenKey open;
  if (!open.Open(root_, key, KEY_READ)) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(open.Get(), value.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      !IsString(type))
    return {};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(open.Get(), value.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
    return {};
  text.resize(size / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

bool RegistryKeyStore::ValueExists(const std::wstring& key, const std::wstring& value) const {
  OpenKey open;
  return open.Open(root_, key, KEY_READ) &&
         RegQueryValueExW(open.Get(), value.c_str(), nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
}

bool RegistryKeyStore::WriteString(const std::wstring& key, const std::wstring& value,
                                   const std::wstring& text) {
  OpenKey open;
  if (!open.Create(root_, key)) return false;
  auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(open.Get(), value.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

bool RegistryKeyStore::KeyExists(const std::wstring& key) const {
  OpenKey open;
  return open.Open(root_, key, KEY_READ);
}

bool RegistryKeyStore::DeleteValue(const std::wstring& key, const std::wstring& value) {
  OpenKey open;
  if (!open.Open(root_, key, KEY_SET_VALUE)) return false;
  bool deleted = RegDeleteValueW(open.Get(), value.c_str()) == ERROR_SUCCESS;
  RegFlushKey(open.Get());
  return deleted;
}

bool RegistryKeyStore::DeleteTree(const std::wstring& key) { return DeleteTreeUnder(root_, key); }

bool RegistryKeyStore::CopyTree(const std::wstring& source, const std::wstring& target) {
  OpenKey open;
  return !target.empty() && open.Open(root_, source, KEY_READ) &&
         CopyTreeInto(open.Get(), root_, target);
}
