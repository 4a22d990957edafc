// The state word every line carries: the highlighter's end-state code and the mark.
#pragma once

#include <cstdint>

// Bits 0-4 hold the code of the highlighter state the line ends in (0 with no highlighting),
// bit 5 is set while the line carries a mark.
namespace lineState {

inline constexpr std::uint32_t codeBits = 31;
inline constexpr std::uint32_t markBit = 32;
inline constexpr std::uint32_t allBits = codeBits | markBit;

constexpr int Code(std::uint32_t word) { return static_cast<int>(word & codeBits); }
// The word with its code replaced; the mark stays.
constexpr std::uint32_t WithCode(std::uint32_t word, int code) {
  return (word & ~codeBits) | (static_cast<std::uint32_t>(code) & codeBits);
}
constexpr bool Marked(std::uint32_t word) { return (word & markBit) != 0; }
constexpr std::uint32_t WithMark(std::uint32_t word, bool marked) {
  return marked ? word | markBit : word & ~markBit;
}

}  // namespace lineState
