// Path fields of documents, untitled names and numbered menu texts.
#include "frame/DocumentName.h"

DocumentName DocumentName::FromPath(const std::wstring& path, platform::NamePositions positions) {
  DocumentName result;
  result.path = path;
  std::size_t name = positions.name <= path.size() ? positions.name : path.size();
  result.directory = path.substr(0, name > 0 ? name - 1 : 0);
  result.name = path.substr(name);
  std::size_t extension = positions.extension;
  bool hasExtension = extension > name && extension <= path.size() && path[extension - 1] == L'.';
  if (hasExtension) {
    result.extension = path.substr(extension);
    result.baseName = path.substr(name, extension - 1 - name);
  } else {
    result.baseName = result.name;
  }
  return result;
}

std::wstring UntitledName(int number) {
  int digit = number % 10;
  if (digit < 0) digit = -digit;
  return L"doc" + std::wstring(1, static_cast<wchar_t>(L'0' + digit));
}

std::wstring NumberedMenuText(int index, const std::wstring& text) {
  std::wstring result = L"&";
  result += static_cast<wchar_t>(L'1' + index);
  result += L' ';
  return result + text;
}
