// The guard at the edge of every window procedure and callback the system calls: no exception
// of the program crosses back into the system.
#pragma once

#include <new>

namespace platform {

namespace detail {
inline void (*outOfMemoryReaction)() = nullptr;
}  // namespace detail

// What the program does when a handler ran out of memory (the main window tells the user). It
// may be called on any thread, so it should only post a message. By default nothing.
inline void SetOutOfMemoryReaction(void (*reaction)()) { detail::outOfMemoryReaction = reaction; }

// Runs a handler's body and returns its result. When the body throws, the exception ends here:
// running out of memory gets the program's reaction, any other failure is dropped, and the
// handler returns what fallback gives (the message's default handling).
template <typename Body, typename Fallback>
auto Guarded(Body&& body, Fallback&& fallback) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    if (detail::outOfMemoryReaction) detail::outOfMemoryReaction();
  } catch (...) {
  }
  return fallback();
}

}  // namespace platform
