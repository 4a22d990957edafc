// The upper-casing table of the search engine.
#include "search/UpperCase.h"

#include <vector>

#include "platform/Platform.h"

namespace {

constexpr std::size_t unitCount = 0x10000;

std::vector<std::uint16_t> BuildTable() {
  std::vector<wchar_t> units(unitCount);
  for (std::size_t i = 0; i < unitCount; ++i) units[i] = static_cast<wchar_t>(i);
  platform::ToUpperBuffer(units.data(), units.size());
  std::vector<std::uint16_t> table(unitCount);
  for (std::size_t i = 0; i < unitCount; ++i) {
    const auto upper = static_cast<std::uint32_t>(units[i]);
    table[i] = static_cast<std::uint16_t>(upper <= 0xFFFF ? upper : i);
  }
  return table;
}

}  // namespace

const std::uint16_t* UpperTable() {
  static const std::vector<std::uint16_t> table = BuildTable();
  return table.data();
}
