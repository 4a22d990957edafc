// Small blocks of memory of one size, for the spans of lines.
#pragma once

#include <cstddef>

// A document may hold hundreds of thousands of wrapped lines, each with a block of some twenty
// bytes for its segment ends; the system's heap would add as much again to each. Blocks of up
// to blockBytes are carved from chunks of 64 KiB instead, and a freed block goes on a list for
// the next. All are of one size, so that any freed block serves any later one: the memory kept
// is that of the most blocks in use at once, which stays with the process for later documents.
// Larger blocks come from operator new. Like the rest of the text model, for one thread only.
namespace smallblocks {

inline constexpr std::size_t blockBytes = 24;

// A block of bytes bytes, on bounds of at least eight; throws std::bad_alloc when there is no
// memory for it.
void* Allocate(std::size_t bytes);
// Gives back a block of Allocate(bytes).
void Free(void* block, std::size_t bytes) noexcept;

}  // namespace smallblocks
