// The write fault that tests switch on: a byte budget after which every write fails.
#include "WriteFault.h"

#include "Platform.h"

namespace platform {
namespace {
long long writeBudget = -1;  // bytes that may still be written; negative: no fault armed
}

void testing::FailWritesAfter(long long bytes) { writeBudget = bytes; }

bool detail::WriteAllowed(std::uint32_t size) {
  if (writeBudget < 0) return true;
  if (static_cast<long long>(size) > writeBudget) {
    writeBudget = 0;
    return false;
  }
  writeBudget -= size;
  return true;
}

}  // namespace platform
