// The write fault that tests switch on through platform::testing, shared by both file layers.
#pragma once

#include <cstdint>

namespace platform::detail {

// True when a write of `size` bytes may go ahead; counts the bytes against the armed fault.
bool WriteAllowed(std::uint32_t size);

}  // namespace platform::detail
