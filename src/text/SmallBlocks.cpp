// Chunks, carved into small blocks, and the list of freed blocks.
#include "text/SmallBlocks.h"

#include <new>
#include <vector>

#include "text/ReserveGrowing.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#endif

namespace smallblocks {
namespace {

constexpr std::size_t chunkBytes = std::size_t{64} << 10;

// Blocks not handed out are closed to the address checker of a sanitizer build, so that a
// use after Free or an overrun into them is caught as with the heap.
#if defined(__SANITIZE_ADDRESS__)
void Close(void* at, std::size_t bytes) { ASAN_POISON_MEMORY_REGION(at, bytes); }
void Open(void* at, std::size_t bytes) { ASAN_UNPOISON_MEMORY_REGION(at, bytes); }
#else
void Close(void*, std::size_t) {}
void Open(void*, std::size_t) {}
#endif

struct Pool {
  void* freed = nullptr;  // each freed block holds the next
  char* next = nullptr;   // the rest of the newest chunk
  std::size_t left = 0;
  std::vector<void*> chunks;  // every chunk, so that they stay reachable
};

// Made once and never destroyed: documents that outlive static destruction may still give
// blocks back.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

}  // namespace

void* Allocate(std::size_t bytes) {
  if (bytes > blockBytes) return ::operator new(bytes);
  Pool& pool = ThePool();
  if (void* block = pool.freed) {
    Open(block, blockBytes);
    pool.freed = *static_cast<void**>(block);
    return block;
  }
  if (pool.left < blockBytes) {
    ReserveGrowing(pool.chunks, pool.chunks.size() + 1);
    pool.next = static_cast<char*>(::operator new(chunkBytes));
    pool.left = chunkBytes;
    pool.chunks.push_back(pool.next);
    Close(pool.next, chunkBytes);
  }
  void* block = pool.next;
  pool.next += blockBytes;
  pool.left -= blockBytes;
  Open(block, blockBytes);
  return block;
}

void Free(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (bytes > blockBytes) {
    ::operator delete(block);
    return;
  }
  Pool& pool = ThePool();
  *static_cast<void**>(block) = pool.freed;
  Close(block, blockBytes);
  pool.freed = block;
}

}  // namespace smallblocks
