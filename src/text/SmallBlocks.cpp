// Chunks, carved into small blocks, and the lists of freed blocks by size.
#include "text/SmallBlocks.h"

#include <new>
#include <vector>

#include "text/ReserveGrowing.h"

namespace smallblocks {
namespace {

constexpr std::size_t grain = 8;
constexpr std::size_t chunkBytes = std::size_t{64} << 10;

struct Pool {
  void* freed[largest / grain + 1] = {};  // by size in grains: each block holds the next
  char* next = nullptr;                   // the rest of the newest chunk
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
  if (bytes > largest) return ::operator new(bytes);
  const std::size_t grains = (bytes + grain - 1) / grain;
  Pool& pool = ThePool();
  if (void* block = pool.freed[grains]) {
    pool.freed[grains] = *static_cast<void**>(block);
    return block;
  }
  const std::size_t size = grains * grain;
  if (pool.left < size) {
    ReserveGrowing(pool.chunks, pool.chunks.size() + 1);
    pool.next = static_cast<char*>(::operator new(chunkBytes));
    pool.left = chunkBytes;
    pool.chunks.push_back(pool.next);
  }
  void* block = pool.next;
  pool.next += size;
  pool.left -= size;
  return block;
}

void Free(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (bytes > largest) {
    ::operator delete(block);
    return;
  }
  const std::size_t grains = (bytes + grain - 1) / grain;
  Pool& pool = ThePool();
  *static_cast<void**>(block) = pool.freed[grains];
  pool.freed[grains] = block;
}

}  // namespace smallblocks
