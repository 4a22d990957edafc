// Path fields of documents, untitled names and numbered menu texts.
#include "frame/DocumentName.h"

NamePositions FindNamePositions(const std::wstring& path) {
  NamePositions positions;
  std::size_t slash = path.rfind(L'\\');
  positions.name = slash == std::wstring::npos ? 0 : slash + 1;
  std::size_t dot = path.rfind(L'.');
  if (dot != std::wstring::npos && dot >= positions.name) positions.extension = dot + 1;
  return positions;
}

DocumentName DocumentName::FromPath(const std::wstring& path, NamePositions positions) {
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

std::wstring FileNameOf(const std::wstring& path) {
  std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}
