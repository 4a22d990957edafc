// Test helpers: reading configuration text without a file, and a tree as comparable text.
#pragma once

#include <string>

#include "syntax/ConfigFile.h"
#include "syntax/ConfigReader.h"

// Reads text, split into lines at '\n', into root.
inline void ReadConfigText(ConfigNode& root, const std::wstring& text) {
  ConfigReader reader(root);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    reader.ReadLine(text.substr(start, end - start));
    start = end + 1;
  }
  reader.Finish();
}

// The tree in one line: sections as name{...}, values as key:type=value, NULs shown as '|'.
inline std::wstring DumpTree(const ConfigNode& section) {
  std::wstring out;
  for (const auto& [key, node] : section.entries) {
    out += key;
    switch (node->type) {
      case ConfigType::section:
        out += L"{" + DumpTree(*node) + L"}";
        break;
      case ConfigType::string:
        out += L":s=" + node->text;
        break;
      case ConfigType::integer:
        out += L":i=" + std::to_wstring(node->number);
        break;
      case ConfigType::intList:
        out += L":n" + std::to_wstring(node->number) + L"=";
        for (int n : node->numbers) out += std::to_wstring(n) + L",";
        break;
      case ConfigType::stringList: {
        std::wstring text = node->text;
        for (auto& ch : text)
          if (ch == L'\0') ch = L'|';
        out += L":l" + std::to_wstring(node->number) + L"=" + text;
        break;
      }
    }
    out += L" ";
  }
  return out;
}

inline std::wstring ParseAndDump(const std::wstring& text) {
  ConfigNode root;
  ReadConfigText(root, text);
  return DumpTree(root);
}
