// The program's key bindings: (modifier flags, key, command) triples for the accelerator table.
#pragma once

#include <array>
#include <cstdint>

// Modifier flags, as the platform's accelerator entries spell them.
inline constexpr std::uint8_t keyVirtual = 1;  // key is a virtual-key code, else a character code
inline constexpr std::uint8_t keyShift = 4;
inline constexpr std::uint8_t keyControl = 8;
inline constexpr std::uint8_t keyAlt = 16;

struct KeyBinding {
  std::uint8_t flags;
  std::uint16_t key;
  std::uint16_t command;
};

inline constexpr int maxKeyBindings = 100;
// The handheld's own bindings come first; the desktop's usual ones, on keys those leave free,
// follow them.
inline constexpr int handheldKeyBindingCount = 33;
inline constexpr int keyBindingCount = handheldKeyBindingCount + 10;

// In the order they are handed to the accelerator table.
extern const std::array<KeyBinding, keyBindingCount> defaultKeyBindings;
