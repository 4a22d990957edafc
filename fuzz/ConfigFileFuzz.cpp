// Fuzzes the configuration reader with any bytes: whatever tree it reads, writing the tree and
// reading it back gives the same tree; and whatever session the bytes give, written and read
// back it is the same session.
#include <cstdlib>

#include "FuzzFiles.h"
#include "config/Session.h"
#include "syntax/ConfigFile.h"

namespace {

bool IsEmptyList(const ConfigNode& node) {
  return (node.type == ConfigType::intList || node.type == ConfigType::stringList) &&
         node.number == 0;
}

// Trees are equal when every entry has the same type and value. An empty string list is
// written as an empty list, which reads back as an empty integer list: the two are alike.
bool SameTree(const ConfigNode& a, const ConfigNode& b) {
  if (IsEmptyList(a) && IsEmptyList(b)) return true;
  if (a.type != b.type || a.number != b.number || a.text != b.text || a.numbers != b.numbers ||
      a.entries.size() != b.entries.size())
    return false;
  for (auto i = a.entries.begin(), j = b.entries.begin(); i != a.entries.end(); ++i, ++j)
    if (i->first != j->first || !SameTree(*i->second, *j->second)) return false;
  return true;
}

bool SameSession(const Session& a, const Session& b) {
  if (a.reopen != b.reopen || a.files != b.files || a.active != b.active ||
      a.Places().size() != b.Places().size())
    return false;
  for (std::size_t i = 0; i < a.Places().size(); ++i)
    if (a.Places()[i].path != b.Places()[i].path || !(a.Places()[i].place == b.Places()[i].place))
      return false;
  return true;
}

void CheckSession() {
  Session first;
  if (!first.Load(FuzzPath("in.cfg")) || !first.Save(FuzzPath("out.session"))) std::abort();
  Session second;
  if (!second.Load(FuzzPath("out.session")) || !SameSession(first, second)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("in.cfg", data, size);
  ConfigFile first;
  if (!first.Load(FuzzPath("in.cfg"))) std::abort();
  first.SetPath(FuzzPath("out.cfg"));
  if (!first.Save()) std::abort();
  ConfigFile second;
  if (!second.Load(FuzzPath("out.cfg"))) std::abort();
  if (!SameTree(first.Root(), second.Root())) std::abort();
  CheckSession();
  return 0;
}
