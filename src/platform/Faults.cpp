// The faults that tests switch on: byte budgets after which writes or reads fail, and a count of
// large blocks after which none is given.
#include "Faults.h"

#include <algorithm>

#include "Platform.h"

namespace platform {
namespace {
// What may still go through before the fault; negative: no fault armed.
long long writeBudget = -1;
long long readBudget = -1;
long long largeBlockBudget = -1;
}  // namespace

void testing::FailWritesAfter(long long bytes) { writeBudget = bytes; }
void testing::FailReadsAfter(long long bytes) { readBudget = bytes; }
void testing::FailLargeBlocksAfter(long long blocks) { largeBlockBudget = blocks; }

bool detail::WriteAllowed(std::uint32_t size) {
  if (writeBudget < 0) return true;
  if (static_cast<long long>(size) > writeBudget) {
    writeBudget = 0;
    return false;
  }
  writeBudget -= size;
  return true;
}

std::uint32_t detail::ReadLimit(std::uint32_t size) {
  return readBudget < 0 ? size : static_cast<std::uint32_t>(std::min<long long>(size, readBudget));
}

void detail::CountRead(std::uint32_t bytes) {
  if (readBudget >= 0) readBudget -= std::min<long long>(bytes, readBudget);
}

bool detail::LargeBlockAllowed() {
  if (largeBlockBudget < 0) return true;
  if (largeBlockBudget == 0) return false;
  --largeBlockBudget;
  return true;
}

}  // namespace platform
