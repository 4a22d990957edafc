// Finding which of many remembered paths names a given file, asking the file system little.
#include "platform/SameFileAs.h"

#include <utility>

#include "platform/Paths.h"
#include "platform/Platform.h"

namespace platform {

namespace {

std::wstring UpperName(const std::wstring& path) {
  std::wstring name = FileNameOf(path);
  ToUpperBuffer(name.data(), name.size());
  return name;
}

}  // namespace

SameFileAs::SameFileAs(std::wstring path)
    : path_(std::move(path)), name_(UpperName(path_)), finalName_(UpperName(FinalPath(path_))) {}

bool SameFileAs::operator()(const std::wstring& other) const {
  if (other == path_) return true;
  const std::wstring name = UpperName(other);
  return (name == name_ || name == finalName_) && SameFile(path_, other);
}

}  // namespace platform
