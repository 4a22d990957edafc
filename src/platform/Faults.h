// The faults that tests switch on through platform::testing, shared by both platform layers.
#pragma once

#include <cstdint>

namespace platform::detail {

// True when a write of `size` bytes may go ahead; counts the bytes against the armed fault.
bool WriteAllowed(std::uint32_t size);
// How many of `size` bytes a read may ask for before the armed fault; size while none is armed.
// A read that may ask for none while size is not 0 fails.
std::uint32_t ReadLimit(std::uint32_t size);
// Counts bytes read against the armed fault.
void CountRead(std::uint32_t bytes);
// False when a large block must not be had.
bool LargeBlockAllowed();

}  // namespace platform::detail
