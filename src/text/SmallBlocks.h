// Small blocks of memory of a few sizes, for the spans of lines.
#pragma once

#include <cstddef>

// A document may hold hundreds of thousands of wrapped lines, each with a block of some twenty
// bytes for its segment ends; the system's heap would add as much again to each. These blocks
// are carved from chunks of 64 KiB instead, on bounds of eight bytes, and a freed block goes
// on a list of its size for the next. The chunks stay with the process for later documents.
// Blocks larger than largest come from operator new. Like the rest of the text model, for one
// thread only.
namespace smallblocks {

inline constexpr std::size_t largest = 64;

// A block of bytes bytes, on bounds of at least eight; throws std::bad_alloc when there is no
// memory for it.
void* Allocate(std::size_t bytes);
// Gives back a block of Allocate(bytes).
void Free(void* block, std::size_t bytes) noexcept;

}  // namespace smallblocks
