// Turning the key bindings into a Win32 accelerator table.
#include "settings/AcceleratorTableWin32.h"

#include <algorithm>
#include <vector>

static_assert(keyVirtual == FVIRTKEY && keyShift == FSHIFT && keyControl == FCONTROL &&
              keyAlt == FALT);

AcceleratorTable::AcceleratorTable(const KeyBinding* bindings, int count) {
  count = std::clamp(count, 0, maxKeyBindings);
  if (count == 0) return;
  std::vector<ACCEL> entries(count);
  for (int i = 0; i < count; ++i) {
    // The binding flags are the accelerator flags (FVIRTKEY, FSHIFT, FCONTROL, FALT).
    entries[i].fVirt = bindings[i].flags;
    entries[i].key = bindings[i].key;
    entries[i].cmd = bindings[i].command;
  }
  handle_ = CreateAcceleratorTableW(entries.data(), count);
}

AcceleratorTable::~AcceleratorTable() {
  if (handle_) DestroyAcceleratorTable(handle_);
}
